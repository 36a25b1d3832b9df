# Installing the game and packaging it for Debian. The game and its replay tool find their data
# folder beside their own file, so all go under lib/skiddlewick and bin holds links to the
# programs there; the desktop entry, the software centre's metainfo, the icons and the manual
# pages go where desktops, software centres and man look for them.
set(skiddlewick_game_dir lib/skiddlewick)
set(skiddlewick_programs skiddlewick skiddlewick-replay)

install(TARGETS ${skiddlewick_programs} RUNTIME DESTINATION ${skiddlewick_game_dir}
        COMPONENT game)
install(DIRECTORY ${SKIDDLEWICK_DATA_DIR}/ DESTINATION ${skiddlewick_game_dir}/data
        COMPONENT game)

# Relative links, so an installed tree still works when staged for a package or moved whole.
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/packaging)
foreach(program ${skiddlewick_programs})
    set(skiddlewick_link ${CMAKE_BINARY_DIR}/packaging/${program})
    file(CREATE_LINK ../${skiddlewick_game_dir}/${program} ${skiddlewick_link} SYMBOLIC)
    install(FILES ${skiddlewick_link} DESTINATION bin COMPONENT game)
endforeach()

install(DIRECTORY ${SKIDDLEWICK_ICON_DIR}/ DESTINATION share/icons/hicolor COMPONENT game)

# The software centres' entry (AppStream). Its id names the desktop entry too, and must never
# change once released: the centres know the game by it.
set(SKIDDLEWICK_SCREENSHOTS_URL "https://skiddlewick.org/screenshots" CACHE STRING
    "Where the pictures of docs/screenshots are published, for the software centres")
set(SKIDDLEWICK_VERSION ${PROJECT_VERSION})
configure_file(${CMAKE_CURRENT_LIST_DIR}/skiddlewick.metainfo.xml.in
               ${CMAKE_BINARY_DIR}/packaging/${SKIDDLEWICK_APP_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/packaging/${SKIDDLEWICK_APP_ID}.metainfo.xml
        DESTINATION share/metainfo COMPONENT game)

# The desktop entry and the manual page name the program and its data folder by absolute path:
# they are written while installing, when the prefix is known.
install(CODE "
    set(skiddlewick_templates \"${CMAKE_CURRENT_LIST_DIR}\")
    set(skiddlewick_scratch \"${CMAKE_BINARY_DIR}/packaging/install\")
    set(skiddlewick_game_dir \"${skiddlewick_game_dir}\")
    set(SKIDDLEWICK_APP_ID \"${SKIDDLEWICK_APP_ID}\")
    set(SKIDDLEWICK_VERSION \"${PROJECT_VERSION}\")
    include(\"${CMAKE_CURRENT_LIST_DIR}/install_prefix_files.cmake\")"
    COMPONENT game)

# `make package`: a .deb of the same files under /usr, its dependencies read from the libraries
# the program links (GLFW, OpenAL, stb, GL) by dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME skiddlewick)
set(CPACK_PACKAGE_VENDOR "The Skiddlewick developers")
set(CPACK_PACKAGE_CONTACT "The Skiddlewick developers <skiddlewick@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "arcade game: cross the road, hire skis, race down the slope")
set(CPACK_PACKAGE_DESCRIPTION
    "Skiddlewick is a small arcade game in the blocky look of an early home computer.\n"
    "Guide Tazzle across a busy two-way road to the ski hire hut, pay for skis, walk\n"
    "back to the top of the slope and ski down through trees, moguls and gates to the\n"
    "finish. Keyboard (redefinable keys) or joystick.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};skiddlewick;game;/")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
include(CPack)
