# Read by cpack once per generator (CPACK_PROJECT_CONFIG_FILE): each package's
# file name, the installer's share of the files and its signing, and the
# zip's rewriting.

if(CPACK_GENERATOR STREQUAL "NSIS")
  set(CPACK_PACKAGE_FILE_NAME "${CPACK_MOSAIKA_SETUP_NAME}")
  # The installer sets up the screen saver itself: the programs alone, no read-me.
  string(REPLACE ";ALL;" ";programs;" CPACK_INSTALL_CMAKE_PROJECTS "${CPACK_INSTALL_CMAKE_PROJECTS}")
  # With a certificate (packaging/sign.sh reads it from the environment),
  # makensis signs the uninstaller before it packs it, then the installer.
  set(CPACK_MOSAIKA_NSIS_SIGNING "")
  if(NOT "$ENV{MOSAIKA_SIGN_PKCS12}" STREQUAL "")
    set(sign "'\"${CPACK_MOSAIKA_SIGN_TOOL}\" \"%1\"' = 0")
    set(CPACK_MOSAIKA_NSIS_SIGNING "  !uninstfinalize ${sign}\n  !finalize ${sign}")
  endif()
elseif(CPACK_GENERATOR STREQUAL "ZIP")
  set(CPACK_PACKAGE_FILE_NAME "${CPACK_MOSAIKA_ZIP_NAME}")
  # The zip written again, the same bytes from every build.
  set(CPACK_POST_BUILD_SCRIPTS "${CPACK_MOSAIKA_ZIP_SCRIPT}")
endif()
