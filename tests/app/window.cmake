# The main window: the editors' rules in-process, and TrelmMail.exe driven from outside in private program folders.
if(NOT TARGET app_editors)
    return()
endif()
trelm_add_gtest(app_editors_tests SOURCES ${CMAKE_CURRENT_LIST_DIR}/EditorsTest.cpp LIBS app_editors)
if(NOT TARGET app_mainform OR NOT TARGET netlib_testsupport)
    return()
endif()
trelm_add_gtest(app_mainwindow_tests DISPLAY TIMEOUT 900
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/MainWindowTest.cpp ${CMAKE_SOURCE_DIR}/app/MainFormLayout.cpp
    LIBS notifier_testsupport app_settingsfile app_lang app_autostart app_weblinks identity netlib_testsupport classlib)
add_dependencies(app_mainwindow_tests TrelmMail app_files)
# The main window made in the test's own process (its skin container and handle counts).
if(TARGET app_resources)
    trelm_add_gtest(app_mainform_tests DISPLAY TIMEOUT 600 SOURCES ${CMAKE_CURRENT_LIST_DIR}/MainFormSkinTest.cpp
        LIBS app_mainform app_resources)
    target_compile_definitions(app_mainform_tests PRIVATE TRELM_SKIN_FIXTURES="Z:${CMAKE_SOURCE_DIR}/tests/skin/fixtures")
endif()
