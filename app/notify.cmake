# What the notifier does with time and results: check scheduling and watchdog, result processing with popup
# texts and tray signalling, reminders (window-free, over the host interfaces), and the message-pumping waits.
trelm_app_requires(notify app_lang app_mailcheck)
add_library(app_notify STATIC ${CMAKE_CURRENT_LIST_DIR}/CheckSchedule.cpp ${CMAKE_CURRENT_LIST_DIR}/ResultProcessing.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Reminders.cpp ${CMAKE_CURRENT_LIST_DIR}/MessageWait.cpp)
target_link_libraries(app_notify PUBLIC app_lang app_mailcheck user32)
target_include_directories(app_notify PUBLIC ${CMAKE_SOURCE_DIR})
