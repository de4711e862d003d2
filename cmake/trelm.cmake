# Project helpers: the Wine test runner and trelm_add_gtest().

# ctest runs every Windows test program through this wrapper (a warm Wine session, see scripts/wine-session.sh).
configure_file(${CMAKE_SOURCE_DIR}/scripts/wine-run.in ${CMAKE_BINARY_DIR}/wine-run @ONLY
    FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run)

# trelm_add_gtest(<name> SOURCES <files...> [LIBS <targets...>] [DISPLAY] [TIMEOUT <s>])
# One test program per layer. DISPLAY marks programs that move the mouse, take focus or read the screen:
# ctest runs those one at a time.
function(trelm_add_gtest name)
    cmake_parse_arguments(T "DISPLAY" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE ${T_LIBS} gtest_main gtest)
    target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
    set_target_properties(${name} PROPERTIES WIN32_EXECUTABLE OFF)
    add_test(NAME ${name} COMMAND ${name} --gtest_color=no)
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 300)
    endif()
    set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT} WORKING_DIRECTORY ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
    if(T_DISPLAY)
        set_tests_properties(${name} PROPERTIES RESOURCE_LOCK display)
    endif()
endfunction()
