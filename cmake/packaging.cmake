# What `make install` puts around the program (manual page, desktop entry,
# icon, the emulator recipes) and the Debian package `make deb` builds from it.
# The executable, the link on the PATH and the font have their rules beside
# their targets (app/, fonts/).

set(packaging_dir "${PROJECT_SOURCE_DIR}/packaging")
set(packaging_out "${CMAKE_BINARY_DIR}/packaging")

configure_file("${packaging_dir}/kvalon-p.1" "${packaging_out}/kvalon-p.1" @ONLY)
# Debian ships manual pages compressed; -n keeps the package reproducible.
find_program(KVALON_GZIP gzip REQUIRED)
add_custom_command(
    OUTPUT "${packaging_out}/kvalon-p.1.gz"
    COMMAND "${KVALON_GZIP}" -9 -n -c "${packaging_out}/kvalon-p.1" > "${packaging_out}/kvalon-p.1.gz"
    DEPENDS "${packaging_out}/kvalon-p.1"
    COMMENT "Compressing the manual page")
add_custom_target(kvalon_manual ALL DEPENDS "${packaging_out}/kvalon-p.1.gz")

install(FILES "${packaging_out}/kvalon-p.1.gz" DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")
install(FILES "${packaging_dir}/kvalon-p.desktop"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/applications")
install(FILES "${PROJECT_SOURCE_DIR}/docs/dos-emulators.md"
              "${PROJECT_SOURCE_DIR}/docs/print-server.md"
        DESTINATION "${CMAKE_INSTALL_DOCDIR}")

# The icon comes from the windows' own drawing; a tree without it still
# installs everything else.
set(icon_dir "${PROJECT_SOURCE_DIR}/ui/icons")
if(EXISTS "${icon_dir}/kvalon-p.svg")
    install(FILES "${icon_dir}/kvalon-p.svg"
            DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps")
endif()
foreach(size IN ITEMS 32 64)
    if(EXISTS "${icon_dir}/kvalon-p-${size}.png")
        install(FILES "${icon_dir}/kvalon-p-${size}.png"
                DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps"
                RENAME kvalon-p.png)
    endif()
endforeach()

# The Debian package.
set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "kvalon-p")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_VENDOR "Kvalon-P")
set(CPACK_PACKAGE_CONTACT "${KVALON_EMAIL}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "print plain-text reports of DOS programs on CUPS printers or into a PDF")
set(CPACK_PACKAGE_DESCRIPTION
    "Kvalon-P prints the reports of DOS business programs (Bulgarian code page\n\
MIK, printer control bytes, box-drawing tables) on a modern printer or into a\n\
PDF: the largest font that fits the widest line, a fixed grid of cells, table\n\
frames as real lines. `kvalon-p -` reads a report from standard input, so DOS\n\
emulators can print through it; `kvalon-p --setup-queue` makes a CUPS queue\n\
that prints the reports every DOS machine of the network sends it.")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
# The print-server backend's link goes into CUPS's own folder, outside the
# prefix: the package is staged through DESTDIR so that it lands in the package.
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX "${CPACK_PACKAGING_INSTALL_PREFIX}")
set(CPACK_STRIP_FILES TRUE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Kvalon-P <${KVALON_EMAIL}>")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${KVALON_HOME_URL}")
set(CPACK_DEBIAN_PACKAGE_SECTION "text")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
# The shared libraries (Qt, libcups, libstdc++) are found by dpkg-shlibdeps;
# the window system plugins of Qt are loaded at run time and are not.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
# Printing on the machine's own printers and the print-server queue both need
# the CUPS scheduler; a PDF or another machine's CUPS server do not. A
# PostScript document printed into the PDF printer is converted by gs.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "cups, cups-client, ghostscript")
include(CPack)
