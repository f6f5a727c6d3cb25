# Installing Velmora and making its Debian package (cpack -G DEB).
#
# The program finds its data files relative to its own executable, in ../share/velmora, so
# an install to any prefix works as long as the data folder stays "share" beside "bin".
include(GNUInstallDirs)

if(NOT CMAKE_INSTALL_DATADIR STREQUAL "share")
    message(FATAL_ERROR "Velmora finds its data files in ../share/velmora beside its "
        "executable; CMAKE_INSTALL_DATADIR must stay \"share\" (it is "
        "\"${CMAKE_INSTALL_DATADIR}\").")
endif()

# Qt's project set-up gives executables an $ORIGIN search path for libraries installed beside
# them; Velmora links only its own static libraries and the system's, so it needs none.
set_property(TARGET velmora PROPERTY INSTALL_RPATH "")
# Relocations resolved at start and then made read-only, as Debian hardens its programs.
target_link_options(velmora PRIVATE LINKER:-z,relro LINKER:-z,now)

set(VELMORA_DEB_RELEASE 1)
set(VELMORA_MAINTAINER "Ondrix <velmora@ondrix.example>")

# Installs <source> compressed as <name>.gz into <destination>, without a time stamp in the
# gzip header so that packages build reproducibly.
function(velmora_install_gzipped source name destination)
    set(copy ${CMAKE_CURRENT_BINARY_DIR}/gzipped/${name})
    add_custom_command(OUTPUT ${copy}.gz
        COMMAND ${CMAKE_COMMAND} -E copy ${source} ${copy}
        COMMAND gzip -9nf ${copy}
        DEPENDS ${source}
        VERBATIM)
    add_custom_target(velmora_gzip_${name} ALL DEPENDS ${copy}.gz)
    install(FILES ${copy}.gz DESTINATION ${destination})
endfunction()

velmora_install_gzipped(${CMAKE_BINARY_DIR}/resources/velmora.1 velmora.1
    ${CMAKE_INSTALL_MANDIR}/man1)
# Debian keeps a package's copyright and changelog in /usr/share/doc/<package>.
set(VELMORA_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/velmora)
install(FILES cmake/deb/copyright DESTINATION ${VELMORA_DOC_DIR})
velmora_install_gzipped(${CMAKE_SOURCE_DIR}/cmake/deb/changelog changelog.Debian
    ${VELMORA_DOC_DIR})

# A changelog that names another version would make the package lie about its history.
file(STRINGS cmake/deb/changelog changelog_head LIMIT_COUNT 1)
if(NOT changelog_head MATCHES "\\(${PROJECT_VERSION}-${VELMORA_DEB_RELEASE}\\)")
    message(WARNING "cmake/deb/changelog does not start with version "
        "${PROJECT_VERSION}-${VELMORA_DEB_RELEASE}: add an entry for this release.")
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velmora)
set(CPACK_PACKAGE_VENDOR Ondrix)
set(CPACK_PACKAGE_CONTACT ${VELMORA_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "workshop program for calibrating digital tachographs")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Velmora is a desktop workstation for workshops that install and calibrate\n"
    "digital tachographs. For every vehicle a workshop serves it keeps the\n"
    "calibration parameters, the settings of the tachograph's GSM data link and\n"
    "the owner's details, in plain folders and fixed-size record files that the\n"
    "tachograph itself reads and writes.\n"
    "\n"
    "Russian and English user interfaces.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${VELMORA_DEB_RELEASE})
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${VELMORA_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's own dialogs in Russian, and a browser for the help page.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, xdg-utils")
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)

# Reproducible packages: every file time in the package is SOURCE_DATE_EPOCH, by default the
# release date's midnight (UTC), so two builds of one source give the same package.
if(DEFINED ENV{SOURCE_DATE_EPOCH})
    set(VELMORA_SOURCE_DATE_EPOCH $ENV{SOURCE_DATE_EPOCH})
else()
    execute_process(COMMAND date -u -d ${VELMORA_RELEASE_DATE} +%s
        OUTPUT_VARIABLE VELMORA_SOURCE_DATE_EPOCH OUTPUT_STRIP_TRAILING_WHITESPACE
        COMMAND_ERROR_IS_FATAL ANY)
endif()
configure_file(cmake/CPackProjectConfig.cmake.in CPackProjectConfig.cmake @ONLY)
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_BINARY_DIR}/CPackProjectConfig.cmake)

set(CPACK_SOURCE_GENERATOR TXZ)
# Written again into the CPack configuration files, so the backslash is escaped twice.
set(CPACK_SOURCE_IGNORE_FILES "/\\\\.git/" "/build[^/]*/")

include(CPack)
