# Read by cpack for each kind of package: the installer, which carries the programs of both widths,
# is quenzo-<version>-setup.exe; the zips keep their width in their names.
if(CPACK_GENERATOR STREQUAL "NSIS")
  set(CPACK_PACKAGE_FILE_NAME "quenzo-${CPACK_PACKAGE_VERSION}-setup")
endif()
