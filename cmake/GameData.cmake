# Lays out the game's data beside the executable: vb_datagen stages the loose data tree from content/ and
# its recipes, vb_pack packs it into bin/data as content/packs.txt says, and the player's guide with the
# link file "play.url" pointing to it goes to bin/. The target game_data is part of ALL; the game depends
# on it and compiles the generated exe_resources.cpp (its icon and cursor).
option(VB_PACK_DATA "Lay out data/ as *.pak files (OFF: loose files)" ON)
set(VB_STAGING ${CMAKE_BINARY_DIR}/data-staging)
set(VB_STAMP ${CMAKE_BINARY_DIR}/game_data.stamp)
set(VB_EXE_RESOURCES ${CMAKE_BINARY_DIR}/generated/exe_resources.cpp)
file(GLOB_RECURSE VB_CONTENT CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/content/*)
# A removed source leaves no newer input behind; the list of sources, rewritten only when it changes, is one.
string(REPLACE ";" "\n" VB_CONTENT_LIST "${VB_CONTENT}")
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/game_data_sources.txt CONTENT "${VB_CONTENT_LIST}\n")

find_file(VB_DEJAVU_SANS DejaVuSans.ttf PATHS ${CMAKE_SYSTEM_PREFIX_PATH}
          PATH_SUFFIXES share/fonts/truetype/dejavu)
if(NOT VB_DEJAVU_SANS)
    message(FATAL_ERROR "DejaVuSans.ttf not found: install the package fonts-dejavu-core")
endif()
cmake_path(GET VB_DEJAVU_SANS PARENT_PATH VB_DEJAVU_DIR)
# The font recipes fall back to this folder when a caller (a test) names none; the font rasteriser of the
# asset builders runs on FreeType.
target_compile_definitions(vb_gen PRIVATE VB_DEFAULT_FONTS_DIR="${VB_DEJAVU_DIR}")
target_link_libraries(vb_assets PUBLIC Freetype::Freetype)

if(VB_PACK_DATA)
    set(VB_PACK_MODE --packed)
else()
    set(VB_PACK_MODE --loose)
endif()

add_custom_command(
    OUTPUT ${VB_STAMP} ${VB_EXE_RESOURCES} ${CMAKE_BINARY_DIR}/generated/exe_resources.h
    BYPRODUCTS ${CMAKE_BINARY_DIR}/bin/play.url ${CMAKE_BINARY_DIR}/bin/help.html
               ${CMAKE_BINARY_DIR}/bin/velmora-ball.png
    COMMAND vb_datagen --content ${CMAKE_SOURCE_DIR}/content --out ${VB_STAGING} --fonts ${VB_DEJAVU_DIR}
                       --exe-resources ${VB_EXE_RESOURCES} --bin ${CMAKE_BINARY_DIR}/bin
    COMMAND vb_pack --plan ${CMAKE_SOURCE_DIR}/content/packs.txt --in ${VB_STAGING}
                    --out ${CMAKE_BINARY_DIR}/bin/data ${VB_PACK_MODE}
    COMMAND ${CMAKE_COMMAND} -E touch ${VB_STAMP}
    DEPENDS vb_datagen vb_pack ${VB_CONTENT} ${CMAKE_BINARY_DIR}/game_data_sources.txt
    COMMENT "Generating the game data"
    VERBATIM)
add_custom_target(game_data ALL DEPENDS ${VB_STAMP} ${VB_EXE_RESOURCES})
