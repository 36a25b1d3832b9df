# The web build: the same library and game compiled by Emscripten, GLFW 3 on a canvas, the
# fixed-function renderer through Emscripten's legacy GL emulation, OpenAL on Web Audio, and the
# data folder packed beside the program for the page to fetch.

# The data folder comes from a desktop build: its asset generator is a native program.
set(SKIDDLEWICK_WEB_DATA_DIR "" CACHE PATH "A data folder made by the desktop build (build/data)")
if(NOT IS_DIRECTORY "${SKIDDLEWICK_WEB_DATA_DIR}/Graphics")
    message(FATAL_ERROR "SKIDDLEWICK_WEB_DATA_DIR must name a generated data folder "
                        "(build the desktop target assetgen_data first); got "
                        "'${SKIDDLEWICK_WEB_DATA_DIR}'")
endif()

# Debian's libstb-dev, but only its own folder: the rest of /usr/include is the desktop's C
# library, which must never shadow Emscripten's.
find_path(SKIDDLEWICK_STB_DIR stb_image.h PATHS /usr/include/stb NO_DEFAULT_PATH
          NO_CMAKE_FIND_ROOT_PATH)
if(NOT SKIDDLEWICK_STB_DIR)
    message(FATAL_ERROR "stb_image.h not found in /usr/include/stb (install libstb-dev)")
endif()

# The game throws and catches its own exceptions; Emscripten leaves catching out unless asked.
add_compile_options(-fexceptions)
add_link_options(-fexceptions)

# The page is downloaded on every first visit: optimised for size (what follows the build type's
# -O3 wins), with the smaller allocator. The game's frame costs the browser's drawing, not this
# code's speed.
add_compile_options($<$<CONFIG:Release>:-Oz>)
add_link_options($<$<CONFIG:Release>:-Oz> -sMALLOC=emmalloc)

add_library(skiddlewick_platform INTERFACE)
target_include_directories(skiddlewick_platform SYSTEM INTERFACE ${SKIDDLEWICK_STB_DIR})
target_link_options(skiddlewick_platform INTERFACE
    -sUSE_GLFW=3
    -sLEGACY_GL_EMULATION=1
    -lopenal
    -sALLOW_MEMORY_GROWTH=1
    -sENVIRONMENT=web)

# The app icons for the page's manifest: the desktop build draws them with the other icons.
set(SKIDDLEWICK_WEB_ICON_DIR "${SKIDDLEWICK_WEB_DATA_DIR}/../icons" CACHE PATH
    "The icon folder of the desktop build that made the data folder (build/icons)")
set(SKIDDLEWICK_WEB_ICON_SIZES 192 512)

# The page's sounds, made by the same asset generator run from the same sources: every one Ogg
# Vorbis, at the page's quality.
set(SKIDDLEWICK_WEB_SOUNDS_DIR "${SKIDDLEWICK_WEB_DATA_DIR}/../web-sounds" CACHE PATH
    "The page's sounds from the desktop build that made the data folder (build/web-sounds)")
if(NOT IS_DIRECTORY "${SKIDDLEWICK_WEB_SOUNDS_DIR}")
    message(FATAL_ERROR "SKIDDLEWICK_WEB_SOUNDS_DIR must name the page's sounds made with the "
                        "data folder; got '${SKIDDLEWICK_WEB_SOUNDS_DIR}'")
endif()

# Packs the data folder as /data beside the program (the program folder is the root of the
# page's file system), its Sounds folder replaced by the page's sounds, where
# bb_platform_SoundFile (host/platform_web.cpp) finds the Ogg file for each WAV the game names.
function(skiddlewick_web_data target)
    file(GLOB_RECURSE data_files CONFIGURE_DEPENDS ${SKIDDLEWICK_WEB_DATA_DIR}/*
         ${SKIDDLEWICK_WEB_SOUNDS_DIR}/*.ogg)
    target_link_options(${target} PRIVATE
        "SHELL:--preload-file ${SKIDDLEWICK_WEB_DATA_DIR}@/data"
        "SHELL:--exclude-file ${SKIDDLEWICK_WEB_DATA_DIR}/Sounds"
        "SHELL:--preload-file ${SKIDDLEWICK_WEB_SOUNDS_DIR}@/data/Sounds")
    set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${data_files})
endfunction()

# The game's page: the program with its data, our own page beside the script, and, in the
# target TARGET-page, the page's touch and runs scripts, the app's manifest and icons, and the
# service worker that keeps all of it for playing offline.
function(skiddlewick_web_page target)
    skiddlewick_web_data(${target})
    # The page's touch input (src/game/touch_input_web.cpp) is called from the page alone. The
    # page writes a run to show into the program's file system and copies the kept runs out.
    target_link_options(${target} PRIVATE "-Wl,--undefined=bb_touch_Key"
                        -sEXPORTED_RUNTIME_METHODS=FS)

    set(page_dir ${CMAKE_SOURCE_DIR}/packaging/web)
    set(cached ${target}.js ${target}.wasm ${target}.data)
    set(copied)
    foreach(name index.html touch.js runs.js runs_panel.js manifest.webmanifest)
        list(APPEND copied ${page_dir}/${name} ${name})
    endforeach()
    foreach(size ${SKIDDLEWICK_WEB_ICON_SIZES})
        list(APPEND copied ${SKIDDLEWICK_WEB_ICON_DIR}/${size}x${size}/apps/skiddlewick.png
             icon-${size}.png)
    endforeach()
    set(outputs)
    while(copied)
        list(POP_FRONT copied from name)
        add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/${name}
            COMMAND ${CMAKE_COMMAND} -E copy ${from} ${CMAKE_BINARY_DIR}/${name}
            DEPENDS ${from} VERBATIM)
        list(APPEND outputs ${CMAKE_BINARY_DIR}/${name})
        list(APPEND cached ${name})
    endwhile()
    add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/service-worker.js
        COMMAND ${CMAKE_COMMAND} -DFOLDER=${CMAKE_BINARY_DIR} "-DFILES=${cached}"
                -DTEMPLATE=${page_dir}/service-worker.js.in
                -DOUTPUT=${CMAKE_BINARY_DIR}/service-worker.js -P ${page_dir}/service_worker.cmake
        DEPENDS ${target} ${outputs} ${page_dir}/service-worker.js.in
                ${page_dir}/service_worker.cmake
        COMMENT "Writing the service worker for this build"
        VERBATIM)
    add_custom_target(${target}-page ALL DEPENDS ${CMAKE_BINARY_DIR}/service-worker.js)
endfunction()
