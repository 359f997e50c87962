# The Debian package: scripts/package builds it (cpack -G DEB). Library
# dependencies are computed from the programs (dpkg-shlibdeps); the X11
# platform plugin and the JPEG reader come with libqt6gui6.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ecu-console)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "ECU System Console developers")
set(CPACK_PACKAGE_CONTACT ${ECU_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "watch and program an aftermarket engine control unit")
# Debian's extended description: lines under 80 columns.
set(CPACK_PACKAGE_DESCRIPTION
    "A desktop console for the tuner beside the car. It talks to the engine
control unit over its 19200-baud serial line and shows the engine live
(read-outs, dashboard, strip chart and data log), edits the calibration
held in the unit (fuel map, correction curves, supplementary driver map,
configuration constants), keeps whole calibrations in setup files and
writes new firmware.
.
ecu-cli does the same from scripts; ecu-sim is a virtual engine control
unit on a pseudo-terminal for trying everything without a car.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${ECU_HOMEPAGE_URL})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
