# TrelmMail.exe end to end: the program started in a private folder with a prepared settings file, checking the
# private Dovecot of tests/netlib and a server that never answers, read back from its windows and its sound log.
if(NOT TARGET app_mainform OR NOT TARGET netlib_testsupport)
    return()
endif()
trelm_add_gtest(app_endtoend_tests DISPLAY LANE 2 TIMEOUT 600
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/EndToEndTest.cpp
    LIBS notifier_testsupport app_settingsfile app_lang app_mailcheck identity netlib_testsupport classlib)
add_dependencies(app_endtoend_tests TrelmMail app_files)
netlib_use_dovecot(app_endtoend_tests)
