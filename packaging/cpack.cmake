# The Debian package: `cpack` in the build folder writes
# h5kakei_<version>_amd64.deb there. dpkg-shlibdeps finds the libraries.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME h5kakei)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT
    "H5Kakei maintainers <maintainers@users.noreply.c-seed-ddae0c45.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "household-budget diagnosis tile (家計診断)")
# The summary line comes from CPACK_PACKAGE_DESCRIPTION_SUMMARY.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "The diagnosis tile of the home-information suite ひだまり家庭帳５: it totals
the current month's spending in a household account book, compares it with
the month's budget prorated by the days passed, and shows one of five
illustrations. h5kakei runs it on the command line and writes demo books;
h5kakei-menu shows the tile in a window.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
if(H5_WITH_QT)
  # Qt loads its platform plugins at run time, out of dpkg-shlibdeps' sight;
  # the tile's captions need a Japanese font.
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-ipafont-gothic | fonts-noto-cjk")
endif()
include(CPack)
