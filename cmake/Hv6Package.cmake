# The Debian package: `cpack -G DEB` in the build folder packs what the
# install step places below /usr into hv6_<version>-1_<arch>.deb.
set(HV6_PACKAGE_MAINTAINER "hv6 maintainers <maintainers@users.noreply.c-seed-cebd7c60.example>"
    CACHE STRING "The Maintainer field of the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME hv6)
set(CPACK_PACKAGE_VENDOR Velqor)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${HV6_PACKAGE_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "farm-work diary around one calendar (Harvo V6 Plus)")
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "Harvo V6 Plus keeps a farm's season around one calendar: the work plan,"
  "the daily work diary, sales slips, the farm diary, the weather of the"
  "farm's observation points and photos. Its texts are Japanese."
  "."
  "The menu entry sets up each user on the first start, with the data of a"
  "demo farm.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES TRUE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries the programs link come from dpkg-shlibdeps; the plugins Qt
# loads at run time (the SQLite driver, the X11 and Wayland platforms) and
# the Japanese fonts are listed here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite, qt6-qpa-plugins, fonts-noto-cjk")
# The help pages open in the desktop's browser through xdg-open.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
    ${PROJECT_SOURCE_DIR}/install/package/postinst
    ${PROJECT_SOURCE_DIR}/install/package/prerm
    ${PROJECT_SOURCE_DIR}/install/package/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)

include(CPack)
