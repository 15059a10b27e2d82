# Installation, and the packages: .deb and .tar.gz on Linux, the NSIS installer and .zip for
# Windows.
include(GNUInstallDirs)

install(TARGETS combogen RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

if(WIN32)
  # Beside bin\, where a Windows user looks for it.
  install(FILES README.md DESTINATION .)
else()
  install(FILES README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})

  # Debian wants the manual page and the changelog compressed to the maximum and without a
  # time stamp (-n), so that the same sources give the same package.
  find_program(COMBOGEN_GZIP gzip REQUIRED)
  set(packaging ${CMAKE_CURRENT_SOURCE_DIR}/packaging)
  set(generated ${CMAKE_CURRENT_BINARY_DIR}/packaging)
  configure_file(${packaging}/debian/changelog.in ${generated}/changelog @ONLY)
  configure_file(${packaging}/debian/copyright.in ${generated}/copyright @ONLY)
  add_custom_command(
    OUTPUT ${generated}/combogen.1.gz ${generated}/changelog.gz
    COMMAND ${COMBOGEN_GZIP} -9n -c ${CMAKE_CURRENT_SOURCE_DIR}/man/combogen.1
            > ${generated}/combogen.1.gz
    COMMAND ${COMBOGEN_GZIP} -9n -c ${generated}/changelog > ${generated}/changelog.gz
    DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/man/combogen.1 ${generated}/changelog
    COMMENT "Compressing the manual page and the changelog"
    VERBATIM)
  add_custom_target(compressed_docs ALL
    DEPENDS ${generated}/combogen.1.gz ${generated}/changelog.gz)

  install(FILES ${generated}/combogen.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES ${generated}/copyright ${generated}/changelog.gz
          DESTINATION ${CMAKE_INSTALL_DOCDIR})
  # Where bash-completion looks for a command's completion on first use, under any prefix
  # (it searches share/bash-completion/completions of each XDG_DATA_DIRS entry).
  install(FILES ${packaging}/bash-completion/combogen
          DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)
endif()

set(CPACK_PACKAGE_NAME combogen)
set(CPACK_PACKAGE_VENDOR "combogen developers")
set(CPACK_PACKAGE_CONTACT "${COMBOGEN_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "writes random number combinations to a text file")
# Lines of at most 80 characters, as Debian's tools want them; an empty line is " .".
set(CPACK_PACKAGE_DESCRIPTION
    "combogen writes random combinations of distinct numbers from 1 to n (n at most
80) to a text file, one a line, as two-digit labels, sorted or in drawn order,
optionally always holding some fixed numbers read from a file. It never asks
anything and a successful run prints nothing.
.
Its randomness comes from an ISAAC-family generator filled from the system's
cryptographic source. It is meant for lottery-style picks, test data and random
samples in a fixed, plain format.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_STRIP_FILES ON)
set(CPACK_SOURCE_IGNORE_FILES "/\\\\.git/" "/build[^/]*/")

if(WIN32)
  set(CPACK_GENERATOR NSIS ZIP)
else()
  set(CPACK_GENERATOR DEB TGZ)
endif()

# The Windows installer: 64-bit, so that it runs wherever combogen.exe does (and under
# wine64 alone), into "Program Files\combogen" or the folder given with /D=.
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_CURRENT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGE_INSTALL_DIRECTORY combogen)
set(CPACK_NSIS_PACKAGE_NAME combogen)
set(CPACK_NSIS_DISPLAY_NAME "combogen ${PROJECT_VERSION}")
set(CPACK_NSIS_INSTALLED_ICON_NAME "bin\\\\combogen.exe")
set(CPACK_NSIS_CONTACT "${COMBOGEN_MAINTAINER}")
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_DEFINES "Target amd64-unicode")
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
# The options page offers bin\ on the PATH, for the current user or all users. A silent
# install (/S) shows no page: /ADDTOPATH on its command line asks for the current user's.
# (Single quotes: CPack passes double quotes in this text on as list separators.)
set(CPACK_NSIS_MODIFY_PATH ON)
set(CPACK_NSIS_EXTRA_INSTALL_COMMANDS [=[
  Push $CMDLINE
  Push '/ADDTOPATH'
  Call StrStr
  Pop $0
  StrCmp $0 '' combogen_path_asked_done
    StrCpy $DO_NOT_ADD_TO_PATH '0'
    StrCpy $ADD_TO_PATH_ALL_USERS '0'
    StrCpy $ADD_TO_PATH_CURRENT_USER '1'
    Push 'DoNotAddToPath'
    Push '0'
    Call ConditionalAddToRegistry
    Push 'AddToPathCurrentUser'
    Push '1'
    Call ConditionalAddToRegistry
  combogen_path_asked_done:
]=])

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${COMBOGEN_MAINTAINER}")
# The C and C++ runtime dependencies, with versions, as dpkg-shlibdeps finds them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Directories 0755 and files 0644 whatever the builder's umask.
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
