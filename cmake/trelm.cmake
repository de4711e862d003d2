# Project helpers: the Wine test runner and trelm_add_gtest().

# ctest runs every Windows test program through this wrapper (a warm Wine session, see scripts/wine-session.sh).
configure_file(${CMAKE_SOURCE_DIR}/scripts/wine-run.in ${CMAKE_BINARY_DIR}/wine-run @ONLY
    FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run)

# Compile options of test code only (test programs and GoogleTest), after the build type's own.
set(TRELM_TEST_CODE_OPTIONS -Og)

# trelm_add_gtest(<name> SOURCES <files...> [LIBS <targets...>] [DISPLAY [LANE 2]] [TIMEOUT <s>])
# One test program per layer. DISPLAY marks programs that move the mouse, take focus or read the screen:
# ctest runs those one at a time on a display. There are two: the session of lane 1 (<build>/wine) and the one of
# lane 2 (<build>/wine2), each with its own Xvfb and wineserver. Programs that mostly wait on servers and timers
# (the end-to-end runs against silent servers) take lane 2, so that their waits overlap the other window tests.
function(trelm_add_gtest name)
    cmake_parse_arguments(T "DISPLAY" "TIMEOUT;LANE" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE ${T_LIBS} gtest_main gtest)
    target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
    # The test's own sources build for a quick compile (a third less time than -O2); the libraries under test keep
    # the build's optimisation, and no test measures the speed of its own code (benchmarks are tools).
    target_compile_options(${name} PRIVATE ${TRELM_TEST_CODE_OPTIONS})
    set_target_properties(${name} PROPERTIES WIN32_EXECUTABLE OFF)
    add_test(NAME ${name} COMMAND ${name} --gtest_color=no)
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 300)
    endif()
    set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT} WORKING_DIRECTORY ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
    if(T_DISPLAY)
        if(T_LANE AND NOT T_LANE STREQUAL "1")
            if(NOT T_LANE STREQUAL "2")
                message(FATAL_ERROR "trelm_add_gtest(${name}): LANE is 1 or 2, not ${T_LANE}")
            endif()
            set_tests_properties(${name} PROPERTIES RESOURCE_LOCK display2)
            set_property(TEST ${name} APPEND PROPERTY ENVIRONMENT TRELM_WINE_SESSION=wine2)
        else()
            set_tests_properties(${name} PROPERTIES RESOURCE_LOCK display)
        endif()
        # Scheduled before the programs without a display when both wait for a free job: the lanes are the
        # longest chains of the run, and a lane left idle makes the run longer by that much.
        set_tests_properties(${name} PROPERTIES COST 1000)
    endif()
endfunction()
