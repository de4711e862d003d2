# The machine identity as the settings file stores and compares it (with the developer tool settings_tool).
trelm_add_gtest(app_identity_tests
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/IdentitySettingsTest.cpp
    LIBS app_settingsfile identity)
# The test starts the tool from the same bin folder.
add_dependencies(app_identity_tests settings_tool)
