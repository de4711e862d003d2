# Tests of the data model, LZSS codec, settings record and settings file, and of the developer tool settings_tool.
trelm_add_gtest(app_settings_tests
    SOURCES
        ${CMAKE_CURRENT_LIST_DIR}/LzssTest.cpp
        ${CMAKE_CURRENT_LIST_DIR}/SettingsRecordTest.cpp
        ${CMAKE_CURRENT_LIST_DIR}/SettingsFileTest.cpp
        ${CMAKE_CURRENT_LIST_DIR}/SettingsToolTest.cpp
    LIBS app_settingsfile settings_tool_json identity)
# The tool tests start the program from the same bin folder.
add_dependencies(app_settings_tests settings_tool)
