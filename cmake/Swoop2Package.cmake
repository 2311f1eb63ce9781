# The Debian package, made by CPack from the same install rules as `cmake --install`:
# scripts/package builds swoop2_<version>_<architecture>.deb.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME swoop2)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Swoop2 developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "draw smooth curves through the points you place")
# The long description, wrapped for 80-column terminals as Debian asks.
set(CPACK_PACKAGE_DESCRIPTION
    "Swoop2 is a small drawing program for smooth curves: every curve passes\n\
through its control points as a Catmull-Rom spline. Curves are drawn with the\n\
mouse, reshaped by dragging their points, moved between running copies by drag\n\
and drop or through the clipboard, saved, printed, and written as PNG, SVG or\n\
PDF.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER
    "The Swoop2 developers <maintainers@users.noreply.c-seed-32aa65a3.example>")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries come from the program itself through dpkg-shlibdeps. Qt loads its platform
# plugins at run time, where no linker sees them: without them there is no window at all.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
# Strips the program, compresses the manual page and adds the copyright and changelog, as Debian
# wants them.
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/Swoop2DebianTree.cmake)
set(CPACK_SWOOP2_DEBIAN_FILES ${PROJECT_SOURCE_DIR}/packaging/debian)
set(CPACK_SWOOP2_STRIP ${CMAKE_STRIP})
include(CPack)
