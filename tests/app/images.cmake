# The pictures linked into TrelmMail.exe, loaded from the built program.
trelm_add_gtest(app_images_tests SOURCES ${CMAKE_CURRENT_LIST_DIR}/AppImagesTest.cpp LIBS base gdi32 user32)
add_dependencies(app_images_tests TrelmMail)
