# The notifier's pictures (application icon, tray images, glyphs, tray menu pictures, flags, message pictures), drawn
# at build time by scripts/make-images.py into a resource script that app/CMakeLists.txt links into TrelmMail.exe.
find_program(TRELM_SYSTEM_PYTHON3 python3 PATHS /usr/bin NO_DEFAULT_PATH REQUIRED)
set(TRELM_IMAGES_DIR ${CMAKE_CURRENT_BINARY_DIR}/images)
set(TRELM_APP_RC ${TRELM_IMAGES_DIR}/TrelmMail.rc)
add_custom_command(OUTPUT ${TRELM_APP_RC}
    COMMAND ${TRELM_SYSTEM_PYTHON3} ${CMAKE_SOURCE_DIR}/scripts/make-images.py ${TRELM_IMAGES_DIR}
    DEPENDS ${CMAKE_SOURCE_DIR}/scripts/make-images.py
    COMMENT "Drawing the notifier's pictures")
