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

add_library(skiddlewick_platform INTERFACE)
target_include_directories(skiddlewick_platform SYSTEM INTERFACE ${SKIDDLEWICK_STB_DIR})
target_link_options(skiddlewick_platform INTERFACE
    -sUSE_GLFW=3
    -sLEGACY_GL_EMULATION=1
    -lopenal
    -sALLOW_MEMORY_GROWTH=1
    -sENVIRONMENT=web)

# Packs the data folder as /data beside the program (the program folder is the root of the
# page's file system) and puts our own page beside the script.
function(skiddlewick_web_page target)
    file(GLOB_RECURSE data_files CONFIGURE_DEPENDS ${SKIDDLEWICK_WEB_DATA_DIR}/*)
    target_link_options(${target} PRIVATE
        "SHELL:--preload-file ${SKIDDLEWICK_WEB_DATA_DIR}@/data")
    set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${data_files})
    configure_file(${CMAKE_SOURCE_DIR}/packaging/web/index.html
                   ${CMAKE_BINARY_DIR}/index.html COPYONLY)
endfunction()
