# setup_add_installer(<target> <output.exe> <name> <block> <source> ... (eight slots) TARGETS <targets...>)
# Links Setup's image with the block table made from the eight slot sources (tools/payload/payload.py table), linked
# stripped so that nothing lies after its last section, and the custom target <target> that appends the payload to
# a copy of it as <output.exe> and checks the result. TARGETS are the targets that make the sources. The slot list
# is written beside the image as payload-slots.txt: `payload.py check <list> <output.exe>` checks an installer.
find_program(TRELM_SYSTEM_PYTHON3 python3 PATHS /usr/bin NO_DEFAULT_PATH REQUIRED)
set(TRELM_PAYLOAD_TOOL ${CMAKE_SOURCE_DIR}/tools/payload/payload.py CACHE INTERNAL "The payload tool")
function(setup_add_installer target output)
    cmake_parse_arguments(P "" "" "TARGETS" ${ARGN})
    list(LENGTH P_UNPARSED_ARGUMENTS n)
    if(NOT n EQUAL 24)
        message(FATAL_ERROR "setup_add_installer(${target}): eight slots of name, block size and source")
    endif()
    set(dir ${CMAKE_CURRENT_BINARY_DIR}/${target}_image)
    set(slots "")
    set(sources "")
    foreach(i RANGE 0 21 3)
        math(EXPR b "${i} + 1")
        math(EXPR s "${i} + 2")
        list(GET P_UNPARSED_ARGUMENTS ${i} name)
        list(GET P_UNPARSED_ARGUMENTS ${b} block)
        list(GET P_UNPARSED_ARGUMENTS ${s} source)
        string(APPEND slots "${name}\t${block}\t${source}\n")
        list(APPEND sources ${source})
    endforeach()
    file(GENERATE OUTPUT ${dir}/payload-slots.txt CONTENT "${slots}")
    add_custom_command(OUTPUT ${dir}/PayloadTable.cpp
        COMMAND ${TRELM_SYSTEM_PYTHON3} ${TRELM_PAYLOAD_TOOL} table ${dir}/payload-slots.txt ${dir}/PayloadTable.cpp
        DEPENDS ${TRELM_PAYLOAD_TOOL} ${dir}/payload-slots.txt ${sources} ${P_TARGETS}
        COMMENT "Counting the blocks of ${target}'s payload")
    add_executable(${target}_image WIN32 ${CMAKE_SOURCE_DIR}/setup/main.cpp ${CMAKE_SOURCE_DIR}/setup/Setup.rc
        ${dir}/PayloadTable.cpp)
    target_link_libraries(${target}_image PRIVATE setup_wizard)
    add_dependencies(${target}_image skinset setup_resources ${P_TARGETS})
    target_include_directories(${target}_image PRIVATE ${TRELM_SETUP_RC_INCLUDES})
    set_target_properties(${target}_image PROPERTIES OUTPUT_NAME Setup RUNTIME_OUTPUT_DIRECTORY ${dir})
    # Stripped: a symbol table after the sections would lie where the payload begins.
    target_link_options(${target}_image PRIVATE -municode -s)
    add_custom_command(OUTPUT ${output} ${dir}/payload-start.txt
        COMMAND ${TRELM_SYSTEM_PYTHON3} ${TRELM_PAYLOAD_TOOL} append ${dir}/payload-slots.txt
            $<TARGET_FILE:${target}_image> ${output} ${dir}/payload-start.txt
        DEPENDS ${TRELM_PAYLOAD_TOOL} ${dir}/payload-slots.txt ${target}_image ${sources} ${P_TARGETS}
        COMMENT "Appending the payload: ${output}")
    add_custom_target(${target} ALL DEPENDS ${output})
endfunction()
