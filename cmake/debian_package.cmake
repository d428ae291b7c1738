# The Debian package, built by CPack: korvo-ide_VERSION_ARCH.deb with every
# installed file under /usr (tools/package.sh builds it).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME korvo-ide)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR ${KORVO_VENDOR})
set(CPACK_PACKAGE_CONTACT ${KORVO_MAINTAINER})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "development environment for PicoBlaze soft processors")
# The long description; CPack indents it and marks the empty line.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Korvo IDE writes, assembles and simulates programs for the PicoBlaze family
of 8-bit soft processors (PicoBlaze I, II, 3 and CR): an editor for the
Korvo assembly dialect, an assembler, an instruction-level simulator with
switches, LEDs, stimulus and log files, RAM, ROM, scratch pad and UART
ports, and the writers of the COE, MEM, HEX, VHDL and SVF files that put a
program into an FPGA. KCPSM sources can be imported.

The package holds the desktop program korvo-ide and the command-line tool
korvo, which assembles and simulates without a display.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${KORVO_HOMEPAGE})
# The libraries the programs link come from dpkg-shlibdeps; Qt loads the SVG
# icon engine as a plugin, which no link names.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6")
include(CPack)
