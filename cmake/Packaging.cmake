# The packages users install: a Debian package from the Linux build and a zip from the Windows build,
# both made by CPack (`make package`) from the install rules, both carrying the project version.
if(NOT TARGET quillbox)
    # A build without the program (fuzzers, benchmarks) has nothing to package.
    return()
endif()

set(CPACK_PACKAGE_NAME quillbox)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Quillbox developers")
set(QUILLBOX_PACKAGE_MAINTAINER "The Quillbox developers <quillbox@example.org>"
    CACHE STRING "The maintainer named by the Debian package and its changelog")
set(CPACK_PACKAGE_CONTACT ${QUILLBOX_PACKAGE_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "save every text copied to the clipboard as a new text file")
# Lines of at most 80 columns, as Debian's control files want them; an empty line starts a paragraph.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
    "Quillbox is a small resident desktop utility. It shows no window, only an icon"
    "in the notification area, and it turns every piece of text copied to the"
    "clipboard into a new .txt file, inside a directory named after today's date"
    "under the directory it was started in. Files are numbered, or named by the"
    "user for each clip; copies that password managers mark as not to be recorded"
    "are not saved."
    ""
    "Its user interface is Japanese. It watches the X11 clipboard, also under"
    "Wayland through XWayland.")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)
# Directories the install creates on its own get the usual modes whatever the umask.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(QUILLBOX_PACKAGE_DIR ${CMAKE_BINARY_DIR}/package)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/LICENSE)

if(WIN32)
    # quillbox-<version>-win64.zip: the program and its two texts side by side, no folder around them.
    set(CPACK_GENERATOR ZIP)
    set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
    # Windows line ends, which Notepad before Windows 10 1809 needs.
    configure_file(${PROJECT_SOURCE_DIR}/resources/win32/README.txt ${QUILLBOX_PACKAGE_DIR}/README.txt
                   @ONLY NEWLINE_STYLE CRLF)
    configure_file(${PROJECT_SOURCE_DIR}/LICENSE ${QUILLBOX_PACKAGE_DIR}/LICENSE.txt @ONLY NEWLINE_STYLE CRLF)
    install(FILES ${QUILLBOX_PACKAGE_DIR}/README.txt ${QUILLBOX_PACKAGE_DIR}/LICENSE.txt DESTINATION .)
else()
    # quillbox_<version>_<arch>.deb, installing under /usr whatever CMAKE_INSTALL_PREFIX says.
    set(CPACK_GENERATOR DEB)
    set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
    set(CPACK_DEBIAN_PACKAGE_SECTION utils)
    set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
    # Depends comes from the libraries the binary links, through dpkg-shlibdeps.
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)

    # Debian wants the licence in its machine-readable copyright format (MIT is "Expat" there) and,
    # since the version has no Debian revision, a changelog.gz, both in /usr/share/doc/quillbox.
    file(READ ${PROJECT_SOURCE_DIR}/LICENSE licence)
    string(REGEX MATCH "Copyright \\(c\\) ([^\n]+)" holders "${licence}")
    set(holders ${CMAKE_MATCH_1})
    string(FIND "${licence}" "Permission is hereby granted" termsStart)
    string(SUBSTRING "${licence}" ${termsStart} -1 terms)
    string(STRIP "${terms}" terms)
    string(REPLACE "\n\n" "\n.\n" terms "${terms}")
    string(REPLACE "\n" "\n " terms "${terms}")
    set(copyright "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: Quillbox

Files: *
Copyright: ${holders}
License: Expat
 ${terms}
")
    file(CONFIGURE OUTPUT ${QUILLBOX_PACKAGE_DIR}/copyright CONTENT "@copyright@" @ONLY)

    # The date honours SOURCE_DATE_EPOCH.
    string(TIMESTAMP changelogDate "%a, %d %b %Y %H:%M:%S +0000" UTC)
    set(changelog "quillbox (${PROJECT_VERSION}) unstable; urgency=medium

  * Quillbox ${PROJECT_VERSION}.

 -- ${QUILLBOX_PACKAGE_MAINTAINER}  ${changelogDate}
")
    file(CONFIGURE OUTPUT ${QUILLBOX_PACKAGE_DIR}/changelog CONTENT "@changelog@" @ONLY)
    add_custom_command(
        OUTPUT ${QUILLBOX_PACKAGE_DIR}/changelog.gz
        COMMAND gzip -9nkf ${QUILLBOX_PACKAGE_DIR}/changelog
        DEPENDS ${QUILLBOX_PACKAGE_DIR}/changelog
        COMMENT "Compressing the Debian changelog")
    add_custom_target(quillbox_package_docs ALL DEPENDS ${QUILLBOX_PACKAGE_DIR}/changelog.gz)

    include(GNUInstallDirs)
    # Not CMAKE_INSTALL_DOCDIR, which is named after the project (Quillbox), not the package.
    install(FILES ${QUILLBOX_PACKAGE_DIR}/copyright ${QUILLBOX_PACKAGE_DIR}/changelog.gz
            DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/quillbox)
endif()

include(CPack)
