# Tests of the check scheduling, the result processing, the reminders and the message-pumping waits.
if(NOT TARGET app_notify)
    return()
endif()
trelm_add_gtest(app_notify_tests
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/ResultProcessingTest.cpp ${CMAKE_CURRENT_LIST_DIR}/RemindersTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CheckScheduleTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MessageWaitTest.cpp
    LIBS app_notify)

# The engine in a test window: real timers, check threads against the private Dovecot, the alert window, the tray.
if(TARGET app_engine AND TARGET netlib_testsupport)
    trelm_add_gtest(notifier_engine_tests SOURCES ${CMAKE_CURRENT_LIST_DIR}/NotifierEngineTest.cpp
        LIBS app_engine netlib_testsupport DISPLAY LANE 2 TIMEOUT 300)
    netlib_use_dovecot(notifier_engine_tests)
endif()
