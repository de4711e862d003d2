# The main window's small services: sounds (with the two sounds made by a script), the autostart shortcut, the
# maker's site (server list download, product links) and the compiled help file.
# File names of the settings (bare names lie in the program folder); also used by the language table.
add_library(app_filenames STATIC ${CMAKE_CURRENT_LIST_DIR}/FileNames.cpp)
target_include_directories(app_filenames PUBLIC ${CMAKE_SOURCE_DIR})

trelm_app_requires(services base)
add_library(app_sounds STATIC ${CMAKE_CURRENT_LIST_DIR}/Sounds.cpp)
target_link_libraries(app_sounds PUBLIC app_filenames base winmm)
target_include_directories(app_sounds PUBLIC ${CMAKE_SOURCE_DIR})

add_library(app_autostart STATIC ${CMAKE_CURRENT_LIST_DIR}/Autostart.cpp)
target_link_libraries(app_autostart PUBLIC base ole32 shell32 uuid)
target_include_directories(app_autostart PUBLIC ${CMAKE_SOURCE_DIR})

if(TRELM_NETWORK)
    trelm_app_requires(services netlib app_settings)
    add_library(app_weblinks STATIC ${CMAKE_CURRENT_LIST_DIR}/WebLinks.cpp ${CMAKE_CURRENT_LIST_DIR}/ImapList.cpp
        ${CMAKE_CURRENT_LIST_DIR}/ImapListCheck.cpp)
    target_link_libraries(app_weblinks PUBLIC app_settings netlib shell32)
    target_include_directories(app_weblinks PUBLIC ${CMAKE_SOURCE_DIR})
endif()

# Files that ship beside TrelmMail.exe, made at build time into the bin folder. Debian's own Python runs the
# scripts (a python3 earlier on PATH may lack python3-pil).
find_program(TRELM_SYSTEM_PYTHON3 python3 PATHS /usr/bin NO_DEFAULT_PATH REQUIRED)
set(_bin ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
add_custom_command(OUTPUT ${_bin}/prishol_mail.wav ${_bin}/budilnik.wav
    COMMAND ${TRELM_SYSTEM_PYTHON3} ${CMAKE_SOURCE_DIR}/scripts/make-sounds.py ${_bin}
    DEPENDS ${CMAKE_SOURCE_DIR}/scripts/make-sounds.py
    COMMENT "Synthesising the notifier's sounds")
file(GLOB _help_pages CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/help/*)
add_custom_command(OUTPUT ${_bin}/TrelmMail_help.chm
    COMMAND ${TRELM_SYSTEM_PYTHON3} ${CMAKE_SOURCE_DIR}/scripts/make-help.py ${CMAKE_CURRENT_LIST_DIR}/help
        ${CMAKE_CURRENT_BINARY_DIR}/help ${_bin}/TrelmMail_help.chm
    DEPENDS ${CMAKE_SOURCE_DIR}/scripts/make-help.py ${_help_pages}
    COMMENT "Compiling the help file")
add_custom_target(app_files ALL DEPENDS ${_bin}/prishol_mail.wav ${_bin}/budilnik.wav ${_bin}/TrelmMail_help.chm)
