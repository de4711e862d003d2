# Tests of the language table, language files, "yazik.txt" and the reminder list texts.
if(NOT TARGET app_lang)
    return()
endif()
trelm_add_gtest(app_lang_tests
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/LangTableTest.cpp ${CMAKE_CURRENT_LIST_DIR}/EventTextTest.cpp
    LIBS app_lang)
