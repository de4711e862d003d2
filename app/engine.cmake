# The notifier engine: the scheduling, result processing and reminders over the window's timers, the check thread,
# the alert window, the tray icon and the sounds.
trelm_app_requires(engine alert skin_form netlib app_notify app_threadconect app_sounds)
add_library(app_engine STATIC ${CMAKE_CURRENT_LIST_DIR}/NotifierEngine.cpp)
target_link_libraries(app_engine PUBLIC app_notify app_threadconect app_sounds alert skin_form shell32)
target_include_directories(app_engine PUBLIC ${CMAKE_SOURCE_DIR})
