# The main window: the editors' rules without windows (app_editors), and the window itself (app_mainform) on the
# class library, the skinned frame and tray icon, with the services it calls.
trelm_app_requires(window app_lang app_mailcheck app_notify app_settingsfile app_sounds app_autostart app_weblinks
    app_skins app_engine skin_dialogs skin_boxes skin_controls skin_form identity classlib)
add_library(app_editors STATIC ${CMAKE_CURRENT_LIST_DIR}/Editors.cpp)
target_link_libraries(app_editors PUBLIC app_lang app_mailcheck)
target_include_directories(app_editors PUBLIC ${CMAKE_SOURCE_DIR})

add_library(app_mainform STATIC ${CMAKE_CURRENT_LIST_DIR}/MainForm.cpp ${CMAKE_CURRENT_LIST_DIR}/MainFormEditors.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MainFormControls.cpp ${CMAKE_CURRENT_LIST_DIR}/MainFormLayout.cpp)
target_link_libraries(app_mainform PUBLIC app_editors app_notify app_settingsfile app_sounds app_autostart
    app_weblinks app_skins app_engine skin_dialogs skin_dialog_pictures skin_boxes skin_controls skin_form identity classlib winmm)
target_include_directories(app_mainform PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(app_mainform PUBLIC skin_views)
target_link_libraries(app_mainform PUBLIC skin_pages)
