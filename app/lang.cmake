# The language table and the reminder list texts (pure logic over the data model and the class library's dates).
if(NOT TARGET classlib)
    return()
endif()
add_library(app_lang STATIC ${CMAKE_CURRENT_LIST_DIR}/LangTable.cpp ${CMAKE_CURRENT_LIST_DIR}/EventText.cpp)
# app_filenames comes from services.cmake, which may be read after this file: linked by name.
target_link_libraries(app_lang PUBLIC app_settings app_filenames base classlib)
target_include_directories(app_lang PUBLIC ${CMAKE_SOURCE_DIR})
