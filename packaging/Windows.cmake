# The Windows program as a portable zip and an installer with a Start-menu entry and an
# uninstaller: cpack in an optimised cross-build tree.
install(TARGETS quenzo RUNTIME DESTINATION .)
# Text files with Windows line ends, as Notepad and every Windows tool expect them.
function(quenzo_windows_text text out)
  string(REPLACE "\r\n" "\n" text "${text}")
  string(REPLACE "\n" "\r\n" text "${text}")
  file(WRITE ${out} "${text}")
endfunction()
file(READ ${PROJECT_SOURCE_DIR}/LICENSE license_text)
quenzo_windows_text("${license_text}" ${PROJECT_BINARY_DIR}/packaging/LICENSE.txt)
install(FILES ${PROJECT_BINARY_DIR}/packaging/LICENSE.txt DESTINATION .)
# The notices of the runtime linked into the program: what it is, then the statements of the Debian
# packages the cross-compiler and its runtime came from.
set(notices ${PROJECT_BINARY_DIR}/packaging/NOTICES.txt)
file(READ ${PROJECT_SOURCE_DIR}/packaging/windows/NOTICES.txt notices_text)
foreach(statement /usr/share/doc/gcc-mingw-w64-base/copyright /usr/share/doc/mingw-w64-common/copyright)
  if(NOT EXISTS ${statement})
    message(FATAL_ERROR "${statement} is missing: install the mingw-w64 packages (scripts/install-deps.sh windows)")
  endif()
  file(READ ${statement} statement_text)
  string(APPEND notices_text "\n==== ${statement} ====\n\n${statement_text}")
endforeach()
quenzo_windows_text("${notices_text}" ${notices})
install(FILES ${notices} DESTINATION .)

set(CPACK_GENERATOR ZIP NSIS)
set(CPACK_PACKAGE_NAME quenzo)
set(CPACK_PACKAGE_VENDOR "Quenzo developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Network test console for TCP and UDP")
# The program's width names its zip: win64, or win32 for the 32-bit program.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(windows_width win64)
else()
  set(windows_width win32)
endif()
set(CPACK_PACKAGE_FILE_NAME quenzo-${PROJECT_VERSION}-${windows_width})
set(CPACK_PACKAGE_INSTALL_DIRECTORY Quenzo)
set(CPACK_PACKAGE_EXECUTABLES Quenzo Quenzo)
# The program is in the installation folder itself, where its Start-menu entry must point.
set(CPACK_NSIS_EXECUTABLES_DIRECTORY .)
# The uninstaller takes away the vendor's key the installer made, once nothing else is in it.
set(CPACK_NSIS_DELETE_ICONS_EXTRA "DeleteRegKey /ifempty SHCTX \"Software\\${CPACK_PACKAGE_VENDOR}\"")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_NSIS_PACKAGE_NAME Quenzo)
set(CPACK_NSIS_DISPLAY_NAME "Quenzo ${PROJECT_VERSION}")
set(CPACK_NSIS_INSTALLED_ICON_NAME Quenzo.exe)
set(CPACK_NSIS_MUI_ICON ${PROJECT_SOURCE_DIR}/res/icons/quenzo.ico)
set(CPACK_NSIS_MUI_UNIICON ${PROJECT_SOURCE_DIR}/res/icons/quenzo.ico)
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
# One installer for both widths, made in the 64-bit tree: a 32-bit installer (NSIS's x86 stubs),
# which starts on every Windows, puts the 64-bit program where 64-bit Windows keeps programs and,
# on 32-bit Windows, the 32-bit program over it. $PROGRAMFILES64 is Program Files on both. Its
# registry keys stay in the installer's own (32-bit) view, where its uninstaller and the next
# installer look for them.
set(CPACK_NSIS_DEFINES "Target x86-unicode\n!include x64.nsh")
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(QUENZO_WINDOWS32_PROGRAM "" CACHE FILEPATH "The 32-bit program the installer carries: the win32 zip's")
if(QUENZO_WINDOWS32_PROGRAM)
  set(CPACK_NSIS_EXTRA_INSTALL_COMMANDS
      "\${IfNot} \${RunningX64}\n  File \"/oname=$INSTDIR\\Quenzo.exe\" \"${QUENZO_WINDOWS32_PROGRAM}\"\n\${EndIf}")
else()
  # Never an installer that would leave 32-bit Windows without its program.
  set(CPACK_NSIS_EXTRA_INSTALL_COMMANDS "!error \"no 32-bit program: configure with QUENZO_WINDOWS32_PROGRAM\"")
endif()
# The installer serves both widths and is named for neither.
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_SOURCE_DIR}/packaging/windows/PackageNames.cmake)
# Values go to CPack as they are written here, quotes and backslashes included.
set(CPACK_VERBATIM_VARIABLES YES)
include(CPack)
