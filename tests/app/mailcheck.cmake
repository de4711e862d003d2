# Tests of the mail check: scripted TLS servers and the private Dovecot of tests/netlib. The check itself
# (mailcheck_tests) stands on netlib alone; the thread (mailcheck_thread_tests) adds classlib.
if(NOT TARGET app_mailcheck OR NOT TARGET netlib_testsupport)
    return()
endif()
trelm_add_gtest(mailcheck_tests
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/MailCheckTest.cpp ${CMAKE_CURRENT_LIST_DIR}/MailCheckDovecotTest.cpp
    LIBS app_mailcheck netlib_testsupport TIMEOUT 600)
target_compile_definitions(mailcheck_tests PRIVATE NETLIB_FIXTURES_DIR="${CMAKE_SOURCE_DIR}/tests/netlib/fixtures")
netlib_use_dovecot(mailcheck_tests)

if(TARGET app_threadconect)
    trelm_add_gtest(mailcheck_thread_tests SOURCES ${CMAKE_CURRENT_LIST_DIR}/MailCheckThreadTest.cpp
        LIBS app_threadconect netlib_testsupport TIMEOUT 300)
    netlib_use_dovecot(mailcheck_thread_tests)
endif()
