# The language table and the reminder list texts (pure logic over the data model and the class library's dates).
trelm_app_requires(lang classlib base app_settings app_filenames)
add_library(app_lang STATIC ${CMAKE_CURRENT_LIST_DIR}/LangTable.cpp ${CMAKE_CURRENT_LIST_DIR}/EventText.cpp)
target_link_libraries(app_lang PUBLIC app_settings app_filenames base classlib)
target_include_directories(app_lang PUBLIC ${CMAKE_SOURCE_DIR})
