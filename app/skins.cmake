# The stored skin lists built into the programs: resource scripts written from the generated skin set (target
# skinset, skinset) by "skingen.py rc", and the functions that fill a TbsCompressedSkinList from them.
#   TRELM_APP_SKINS_RC     the notifier's 87 skins, compiled into TrelmMail.exe (app/CMakeLists.txt)
#   setup_skin_resources   object library with the installer's "Windows 8"; the installer links its objects
#   app_skins              LoadNotifierSkinList and LoadSetupSkinList
trelm_app_requires(skins skin_core skinset)
find_program(TRELM_SYSTEM_PYTHON3 python3 PATHS /usr/bin NO_DEFAULT_PATH REQUIRED)
set(_skinset ${CMAKE_BINARY_DIR}/skins)
set(_skins_rc_dir ${CMAKE_CURRENT_BINARY_DIR}/skins)
foreach(_part notifier setup)
    string(TOUPPER ${_part}SKINS _name)
    add_custom_command(OUTPUT ${_skins_rc_dir}/${_part}.rc
        COMMAND ${TRELM_SYSTEM_PYTHON3} ${CMAKE_SOURCE_DIR}/skinset/skingen.py rc ${_skinset} ${_part}
            ${_name} ${_skins_rc_dir}/${_part}.rc
        DEPENDS ${_skinset}/${_part}/skins.lst ${CMAKE_SOURCE_DIR}/skinset/skingen.py
        COMMENT "Writing the resource script of the ${_part} skin list"
        VERBATIM)
endforeach()
set(TRELM_APP_SKINS_RC ${_skins_rc_dir}/notifier.rc)

add_library(setup_skin_resources OBJECT ${_skins_rc_dir}/setup.rc)
add_dependencies(setup_skin_resources skinset)

add_library(app_skins STATIC SkinLists.cpp)
target_include_directories(app_skins PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(app_skins PUBLIC skin_core)
