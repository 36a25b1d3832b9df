# Runs while installing (`cmake --install`, `make install`, cpack): the desktop entry and the
# manual pages name the installed program and its data folder by absolute path, so they are written
# here, for the prefix being installed to, from their templates (*.in), and installed. That prefix
# is CMAKE_INSTALL_PREFIX; a DESTDIR (cpack's staging folder) only decides where the files land,
# which file(INSTALL) takes care of, and never appears in them.
#
# Set by the install rule in packaging.cmake: skiddlewick_templates (the folder of the templates),
# skiddlewick_scratch (a folder of the build to write them in first) and skiddlewick_game_dir
# (where the program and its data go, relative to the prefix), SKIDDLEWICK_APP_ID (the name of
# the desktop entry, which the software centres' metainfo launches) and SKIDDLEWICK_VERSION (the
# project's version, which the manual pages show).

# `path` as the program of a desktop entry's Exec key: a literal % doubled (% starts a field
# code); a path holding a reserved character quoted whole, with ", `, $ and \ escaped inside the
# quotes; then the escapes every string value takes (\ itself, newline, tab, return).
function(skiddlewick_desktop_exec path out)
    string(REPLACE "%" "%%" value "${path}")
    if(value MATCHES "[ \t\n\"'\\\\><~|&;$*?#()`]")
        string(REPLACE "\\" "\\\\" value "${value}")
        string(REPLACE "\"" "\\\"" value "${value}")
        string(REPLACE "`" "\\`" value "${value}")
        string(REPLACE "$" "\\$" value "${value}")
        set(value "\"${value}\"")
    endif()
    string(REPLACE "\\" "\\\\" value "${value}")
    string(REPLACE "\n" "\\n" value "${value}")
    string(REPLACE "\t" "\\t" value "${value}")
    string(REPLACE "\r" "\\r" value "${value}")
    set(${out} "${value}" PARENT_SCOPE)
endfunction()

# `path` as one quoted argument of a manual-page macro: roff's escape character and double quotes
# written as escapes, and hyphens as the plain ASCII hyphen, so that the path can be copied.
function(skiddlewick_roff_argument path out)
    string(REPLACE "\\" "\\e" value "${path}")
    string(REPLACE "-" "\\-" value "${value}")
    string(REPLACE "\"" "\\(dq" value "${value}")
    set(${out} "\"${value}\"" PARENT_SCOPE)
endfunction()

function(skiddlewick_install_prefix_files)
    cmake_path(ABSOLUTE_PATH CMAKE_INSTALL_PREFIX NORMALIZE OUTPUT_VARIABLE prefix)
    string(REGEX REPLACE "/+$" "" prefix "${prefix}")
    set(program "${prefix}/bin/skiddlewick")
    if(program MATCHES "=")
        # A desktop entry cannot name a program whose path holds "=": the entry falls back on
        # the program's name, found when the prefix's bin is on the search path.
        message(WARNING "the desktop entry starts `skiddlewick` by name: its installed path "
                        "${program} holds an \"=\", which the entry's Exec key cannot hold")
        set(SKIDDLEWICK_DESKTOP_EXEC skiddlewick)
    else()
        skiddlewick_desktop_exec("${program}" SKIDDLEWICK_DESKTOP_EXEC)
    endif()
    skiddlewick_roff_argument("${prefix}/${skiddlewick_game_dir}/data/" SKIDDLEWICK_MAN_DATA_DIR)

    # A folder of its own for each install, so that two installs at once cannot mix their files.
    string(RANDOM LENGTH 12 tag)
    set(scratch "${skiddlewick_scratch}/${tag}")
    configure_file("${skiddlewick_templates}/skiddlewick.desktop.in"
                   "${scratch}/${SKIDDLEWICK_APP_ID}.desktop" @ONLY)
    file(INSTALL "${scratch}/${SKIDDLEWICK_APP_ID}.desktop"
         DESTINATION "${prefix}/share/applications")
    foreach(page skiddlewick.6 skiddlewick-replay.6)
        configure_file("${skiddlewick_templates}/${page}.in" "${scratch}/${page}" @ONLY)
        file(INSTALL "${scratch}/${page}" DESTINATION "${prefix}/share/man/man6")
    endforeach()
    file(REMOVE_RECURSE "${scratch}")
endfunction()

skiddlewick_install_prefix_files()
