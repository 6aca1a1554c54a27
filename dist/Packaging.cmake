# The Debian package: cpack -G DEB in a Release build (tools/package.sh).
set(CPACK_PACKAGE_NAME cellvane)
set(CPACK_PACKAGE_VENDOR "The Cellvane developers")
set(CPACK_PACKAGE_CONTACT "Cellvane developers <cellvane@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_INSTALL_DIRECTORY cellvane)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT) # cellvane_<version>_<arch>.deb
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${PROJECT_HOMEPAGE_URL}")
# The extended description; cpack puts the summary above it and indents it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Cellvane connects a PC to the battery management system of a lithium pack
over a UART, RS-485 or RS-232 adapter: it shows the pack live, reads and
writes the protection parameters and system settings, sends control
commands, reads out the stored history records, records live data and
exports it to spreadsheets, and upgrades the BMS firmware. English and
Simplified Chinese. Includes cellvane-cli, the same engine for scripts and
headless logging, and cellvane-sim, a simulated BMS.")
# Library dependencies are computed from the binaries; Qt finds its window
# system plugins at run time, which no linker sees.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-wqy-microhei | fonts-noto-cjk, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
