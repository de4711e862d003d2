# Tests of the main window's services: sounds and the sound files, the autostart shortcut, the server-list
# download against a loopback HTTP server, the maker's links and the compiled help file.
if(NOT TARGET app_weblinks OR NOT TARGET netlib_testsupport)
    return()
endif()
trelm_add_gtest(app_services_tests
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/SoundsTest.cpp ${CMAKE_CURRENT_LIST_DIR}/AutostartTest.cpp
        ${CMAKE_CURRENT_LIST_DIR}/ImapListTest.cpp
    LIBS app_sounds app_autostart app_weblinks netlib_testsupport)
target_compile_definitions(app_services_tests PRIVATE TRELM_SAMPLE_SERVER_LIST="${CMAKE_SOURCE_DIR}/app/trelmmailimap.txt")
# The sound and help files are looked for beside the test program.
add_dependencies(app_services_tests app_files)
