# What `make install` puts around the program (manual page, desktop entry,
# icon, the emulator recipes, the watched folder's service units) and the Debian packages `make deb` builds from
# it: kvalon-p-server (component server: the batch program, the CUPS backend,
# the font, the manual page; no window library) and kvalon-p (component
# desktop: the windows). The executables, the link on the PATH and the font
# have their rules beside their targets (app/, backend/, fonts/).

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

install(FILES "${packaging_out}/kvalon-p.1.gz" DESTINATION "${CMAKE_INSTALL_MANDIR}/man1"
        COMPONENT server)
install(FILES "${PROJECT_SOURCE_DIR}/docs/dos-emulators.md"
              "${PROJECT_SOURCE_DIR}/docs/print-server.md"
              "${PROJECT_SOURCE_DIR}/docs/history.md"
        DESTINATION "${CMAKE_INSTALL_DOCDIR}" COMPONENT server)

# The watched folder as a service of the user's session and of the system
# (the folder is the instance); systemd looks for them under the prefix's lib.
install(FILES "${packaging_dir}/systemd/user/kvalon-p-watch@.service"
        DESTINATION "lib/systemd/user" COMPONENT server)
install(FILES "${packaging_dir}/systemd/system/kvalon-p-watch@.service"
        DESTINATION "lib/systemd/system" COMPONENT server)

# The windows' desktop entry and icon, with the windows. The icon comes from
# the windows' own drawing; a tree without it still installs everything else.
if(KVALON_BUILD_DESKTOP)
    install(FILES "${packaging_dir}/kvalon-p.desktop"
            DESTINATION "${CMAKE_INSTALL_DATADIR}/applications" COMPONENT desktop)
    set(icon_dir "${PROJECT_SOURCE_DIR}/ui/icons")
    if(EXISTS "${icon_dir}/kvalon-p.svg")
        install(FILES "${icon_dir}/kvalon-p.svg"
                DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps"
                COMPONENT desktop)
    endif()
    foreach(size IN ITEMS 32 64)
        if(EXISTS "${icon_dir}/kvalon-p-${size}.png")
            install(FILES "${icon_dir}/kvalon-p-${size}.png"
                    DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps"
                    RENAME kvalon-p.png COMPONENT desktop)
        endif()
    endforeach()
endif()

# The Debian packages.
set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "kvalon-p")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_VENDOR "Kvalon-P")
set(CPACK_PACKAGE_CONTACT "${KVALON_EMAIL}")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
# The print-server backend's link goes into CUPS's own folder, outside the
# prefix: the package is staged through DESTDIR so that it lands in the package.
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX "${CPACK_PACKAGING_INSTALL_PREFIX}")
set(CPACK_STRIP_FILES TRUE)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL server)
if(KVALON_BUILD_DESKTOP)
    list(APPEND CPACK_COMPONENTS_ALL desktop)
endif()
# Revision 2: the program that was one package is two from here on.
set(CPACK_DEBIAN_PACKAGE_RELEASE 2)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Kvalon-P <${KVALON_EMAIL}>")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${KVALON_HOME_URL}")
set(CPACK_DEBIAN_PACKAGE_SECTION "text")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
# The shared libraries (libcups, HarfBuzz, libdeflate; Qt for the windows)
# are found by dpkg-shlibdeps; the window system plugins of Qt are loaded at
# run time and are not.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)

set(CPACK_DEBIAN_SERVER_PACKAGE_NAME "kvalon-p-server")
set(CPACK_COMPONENT_SERVER_DESCRIPTION
    "print plain-text reports of DOS programs on CUPS printers or into a PDF\n\
Kvalon-P prints the reports of DOS business programs (Bulgarian code page\n\
MIK, printer control bytes, box-drawing tables) on a modern printer or into a\n\
PDF: the largest font that fits the widest line, a fixed grid of cells, table\n\
frames as real lines. `kvalon-p REPORT` prints and `kvalon-p REPORT,1` plans\n\
as DOS programs call it; `kvalon-p -` reads a report from standard input, so\n\
DOS emulators can print through it; `kvalon-p --setup-queue` makes a CUPS\n\
queue that prints the reports every DOS machine of the network sends it.\n\
This package needs no desktop: the windows are in the package kvalon-p.")
# The programs load libcups when they first talk to the print service, so
# dpkg-shlibdeps does not see it.
set(CPACK_DEBIAN_SERVER_PACKAGE_DEPENDS "libcups2")
# Printing on the machine's own printers and the print-server queue both need
# the CUPS scheduler; a PDF or another machine's CUPS server do not. A
# PostScript document printed into the PDF printer is converted by gs.
set(CPACK_DEBIAN_SERVER_PACKAGE_RECOMMENDS "cups, cups-client, ghostscript")
# Revision 1 was one package holding these files.
set(CPACK_DEBIAN_SERVER_PACKAGE_BREAKS "kvalon-p (<< ${PROJECT_VERSION}-2)")
set(CPACK_DEBIAN_SERVER_PACKAGE_REPLACES "kvalon-p (<< ${PROJECT_VERSION}-2)")

set(CPACK_DEBIAN_DESKTOP_PACKAGE_NAME "kvalon-p")
set(CPACK_COMPONENT_DESKTOP_DEPENDS server)
set(CPACK_COMPONENT_DESKTOP_DESCRIPTION
    "windows of Kvalon-P, the printer of DOS reports\n\
The menu window chooses a report and shows its print data, the preview shows\n\
it page by page as it will be printed, and prints page by page or the whole\n\
report. `kvalon-p` without a report opens them.")
set(CPACK_DEBIAN_DESKTOP_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_DESKTOP_PACKAGE_SECTION "x11")
include(CPack)
