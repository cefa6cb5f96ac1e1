# Installation: the program, its desktop entry, software-centre entry, icon, manual page, licence
# and changelog where a Linux desktop and Debian look for them.
include(GNUInstallDirs)
find_program(GZIP_PROGRAM gzip REQUIRED)
# The manual page and the changelog are installed compressed, reproducibly (no name, no time stamp).
# The changelog is CHANGELOG.md in the form Debian reads.
set(packaging_out ${PROJECT_BINARY_DIR}/packaging)
add_custom_command(OUTPUT ${packaging_out}/changelog
  COMMAND ${CMAKE_COMMAND} -E make_directory ${packaging_out}
  COMMAND ${PROJECT_SOURCE_DIR}/packaging/debian-changelog.sh ${PROJECT_SOURCE_DIR}/CHANGELOG.md > ${packaging_out}/changelog
  DEPENDS ${PROJECT_SOURCE_DIR}/CHANGELOG.md ${PROJECT_SOURCE_DIR}/packaging/debian-changelog.sh VERBATIM)
foreach(source ${packaging_out}/changelog ${PROJECT_SOURCE_DIR}/packaging/quenzo.1)
  get_filename_component(name ${source} NAME)
  add_custom_command(OUTPUT ${packaging_out}/${name}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${packaging_out}
    COMMAND ${GZIP_PROGRAM} -9 -n -c ${source} > ${packaging_out}/${name}.gz
    DEPENDS ${source} VERBATIM)
  list(APPEND compressed_files ${packaging_out}/${name}.gz)
endforeach()
add_custom_target(compressed_docs ALL DEPENDS ${compressed_files})

install(TARGETS quenzo RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/packaging/com.example.quenzo.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/com.example.quenzo.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${PROJECT_BINARY_DIR}/packaging/quenzo.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright ${PROJECT_BINARY_DIR}/packaging/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/quenzo)
foreach(size 16 32 48 64 128 256)
  install(FILES ${PROJECT_SOURCE_DIR}/res/icons/quenzo-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME quenzo.png)
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/res/icons/quenzo.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# A Debian package: cpack -G DEB in an optimised build tree.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quenzo)
set(CPACK_PACKAGE_VENDOR "Quenzo developers")
set(CPACK_PACKAGE_CONTACT "Quenzo developers <quenzo@example.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "network test console for TCP and UDP")
# Lines within Debian's width; CPack puts the summary first and indents each line by one blank.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Quenzo opens a TCP client, a one-connection TCP server or a UDP endpoint,
sends text or hex data once or on a timer, and shows what arrives as text
or hex, with byte counters and a status bar.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_INSTALL_DIRECTORY /usr)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-noto-cjk")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
include(CPack)
