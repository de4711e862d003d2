# The skin lists built into TrelmMail.exe and into the installer's objects.
trelm_add_gtest(app_skin_list_tests SOURCES ${CMAKE_CURRENT_LIST_DIR}/SkinListsTest.cpp
    $<TARGET_OBJECTS:setup_skin_resources> LIBS app_skins base)
add_dependencies(app_skin_list_tests TrelmMail)
