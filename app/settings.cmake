# Data model, LZSS codec and settings record (pure, no windows.h), and the Win32 settings file on top of them.
add_library(app_settings STATIC
    ${CMAKE_CURRENT_LIST_DIR}/DataModel.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Lzss.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SettingsRecord.cpp)
target_include_directories(app_settings PUBLIC ${CMAKE_SOURCE_DIR})

add_library(app_settingsfile STATIC ${CMAKE_CURRENT_LIST_DIR}/SettingsFile.cpp)
target_link_libraries(app_settingsfile PUBLIC app_settings base)
