# Tests of the check scheduling, the result processing, the reminders and the message-pumping waits.
if(NOT TARGET app_notify)
    return()
endif()
trelm_add_gtest(app_notify_tests
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/ResultProcessingTest.cpp ${CMAKE_CURRENT_LIST_DIR}/RemindersTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/CheckScheduleTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MessageWaitTest.cpp
    LIBS app_notify)
