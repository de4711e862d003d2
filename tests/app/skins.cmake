# The skin lists built into TrelmMail.exe and into the installer's objects, and lists with a broken entry.
set(_fx ${CMAKE_SOURCE_DIR}/tests/skin/fixtures)
set(_lists ${CMAKE_CURRENT_BINARY_DIR}/skinlists)
set(_rc "")
# name, then the block of row 1 (row 0 is always the colour-coded skin); NOBLOCK: the block is missing
foreach(_case "SOUND;colorcoded.skn" "TRUNCATED;truncated_stream.skn" "EMPTYBLOCK;length0.skn" "NEWERBLOCK;outer_version4.skn"
        "NOBLOCK;")
    list(GET _case 0 _name)
    list(GET _case 1 _block)
    file(WRITE ${_lists}/${_name}.lst "# index\tfolder\tblock version\tname\tdescription\n0\tcolorcoded\t3\tA\ta\n1\tbroken\t3\tB\tb\n")
    string(APPEND _rc "${_name} RCDATA \"${_lists}/${_name}.lst\"\n${_name}_0 RCDATA \"${_fx}/colorcoded.skn\"\n")
    if(_block)
        string(APPEND _rc "${_name}_1 RCDATA \"${_fx}/${_block}\"\n")
    endif()
endforeach()
file(WRITE ${_lists}/broken.rc "${_rc}")

trelm_add_gtest(app_skin_list_tests SOURCES ${CMAKE_CURRENT_LIST_DIR}/SkinListsTest.cpp ${_lists}/broken.rc
    $<TARGET_OBJECTS:setup_skin_resources> LIBS app_skins base)
add_dependencies(app_skin_list_tests TrelmMail)
