# Desktop integration, manual pages, bash completion and the Debian package (cpack -G DEB).
# Everything generated here is laid out under the build tree's share/ as it is installed.

set(WINGBOOK_APPSTREAM_ID com.marovek.Wingbook)
# The maker's web page of the program; the metainfo's screenshots are published below it
# (screenshots/, as kept in docs/screenshots). A placeholder until that page exists.
set(WINGBOOK_HOMEPAGE "https://wingbook.marovek.example" CACHE STRING "Web page of the program")
set(WINGBOOK_RELEASE_DATE 2026-12-10)
set(WINGBOOK_SHORT_VERSION ${PROJECT_VERSION})
set(WINGBOOK_PACKAGING_DIR ${CMAKE_SOURCE_DIR}/packaging)
set(WINGBOOK_SHARE_DIR ${CMAKE_BINARY_DIR}/share)

# --- desktop entry, file type, AppStream metainfo, bash completion ---
configure_file(${WINGBOOK_PACKAGING_DIR}/${WINGBOOK_APPSTREAM_ID}.metainfo.xml.in
               ${WINGBOOK_SHARE_DIR}/metainfo/${WINGBOOK_APPSTREAM_ID}.metainfo.xml @ONLY)
if(TARGET wingbook)
    install(FILES ${WINGBOOK_PACKAGING_DIR}/wingbook.desktop
            DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES ${WINGBOOK_SHARE_DIR}/metainfo/${WINGBOOK_APPSTREAM_ID}.metainfo.xml
            DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
    install(FILES ${WINGBOOK_PACKAGING_DIR}/wingbook-mime.xml
            DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME wingbook.xml)
endif()
install(FILES ${WINGBOOK_PACKAGING_DIR}/wingbook-cli.bash-completion
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME wingbook-cli)

# --- icons: the SVG, and PNGs drawn from it at build time ---
set(WINGBOOK_ICON_SVG ${CMAKE_SOURCE_DIR}/src/app/icons/wingbook.svg)
set(WINGBOOK_ICON_DIR ${WINGBOOK_SHARE_DIR}/icons/hicolor)
install(FILES ${WINGBOOK_ICON_SVG} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
find_program(RSVG_CONVERT rsvg-convert)
if(RSVG_CONVERT)
    set(icon_files)
    foreach(size 16 32 48 64 128 256)
        set(png ${WINGBOOK_ICON_DIR}/${size}x${size}/apps/wingbook.png)
        add_custom_command(OUTPUT ${png}
            COMMAND ${CMAKE_COMMAND} -E make_directory ${WINGBOOK_ICON_DIR}/${size}x${size}/apps
            COMMAND ${RSVG_CONVERT} --width ${size} --height ${size} --output ${png} ${WINGBOOK_ICON_SVG}
            DEPENDS ${WINGBOOK_ICON_SVG} VERBATIM)
        list(APPEND icon_files ${png})
        install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
    endforeach()
    add_custom_target(wingbook_icons ALL DEPENDS ${icon_files})
else()
    message(WARNING "rsvg-convert not found (Debian package librsvg2-bin): no PNG icons")
endif()

# --- manual pages, made from each program's --help and --version ---
find_program(HELP2MAN help2man)
if(HELP2MAN)
    set(man_files)
    set(man_dir ${WINGBOOK_SHARE_DIR}/man/man1)
    set(name_wingbook "a logbook of the flights you have taken")
    set(name_wingbook-cli "the log operations of Wingbook without a window")
    foreach(program wingbook wingbook-cli)
        if(NOT TARGET ${program})
            continue()
        endif()
        set(page ${man_dir}/${program}.1)
        # The programs run without a display, without the user's settings and, in a sanitized
        # build, without leak reports ending the build.
        add_custom_command(OUTPUT ${page} ${page}.gz
            COMMAND ${CMAKE_COMMAND} -E make_directory ${man_dir} ${CMAKE_BINARY_DIR}/man-settings
            COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0
                    XDG_CONFIG_HOME=${CMAKE_BINARY_DIR}/man-settings
                    ${HELP2MAN} --no-info --no-discard-stderr --name "${name_${program}}"
                    --include ${WINGBOOK_PACKAGING_DIR}/${program}.h2m --output ${page}
                    $<TARGET_FILE:${program}>
            COMMAND gzip -9nf --keep ${page}
            DEPENDS ${program} ${WINGBOOK_PACKAGING_DIR}/${program}.h2m VERBATIM)
        list(APPEND man_files ${page})
        install(FILES ${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
    endforeach()
    add_custom_target(wingbook_manpages ALL DEPENDS ${man_files})
else()
    message(WARNING "help2man not found (Debian package help2man): no manual pages")
endif()

# --- the package's own documents ---
install(FILES ${WINGBOOK_PACKAGING_DIR}/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/wingbook)

# --- Debian package: cpack -G DEB in a build tree, or scripts/package.sh ---
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME wingbook)
set(CPACK_PACKAGE_VENDOR ${WINGBOOK_COMPANY})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "logbook of the flights you have taken")
set(CPACK_PACKAGE_DESCRIPTION
    "Wingbook keeps a log of the flights you have taken in an XML file: flights, airlines,\n"
    "airports and distances, entered in small dialogs, with airline and airport names filled\n"
    "in from the reference files that come with it. wingbook-cli offers the same log\n"
    "operations for scripts.")
string(CONCAT CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGE_CONTACT "${WINGBOOK_COMPANY} <wingbook@marovek.example>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${WINGBOOK_HOMEPAGE})
# The libraries the programs link are found by dpkg-shlibdeps. Qt's platform plugins (X11,
# Wayland, offscreen) are loaded at run time, which dpkg-shlibdeps cannot see, and the window
# cannot open without them. The icon theme is what the toolbar's pictures are taken from.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "adwaita-icon-theme")
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)
include(CPack)

# The package test builds the package in its own release tree (scripts/package.sh) and checks
# it unpacked; it runs alone, since it builds.
if(TARGET wingbook)
    add_test(NAME package COMMAND bash ${CMAKE_SOURCE_DIR}/tests/package/package.sh
                                       ${CMAKE_SOURCE_DIR}/tests/fixtures)
    set_tests_properties(package PROPERTIES TIMEOUT 3600 RUN_SERIAL TRUE)
endif()
