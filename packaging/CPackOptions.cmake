# Read by cpack once per generator (CPACK_PROJECT_CONFIG_FILE): each package's
# file name, and the installer's share of the files.

if(CPACK_GENERATOR STREQUAL "NSIS")
  set(CPACK_PACKAGE_FILE_NAME "${CPACK_MOSAIKA_SETUP_NAME}")
  # The installer sets up the screen saver itself: the programs alone, no read-me.
  string(REPLACE ";ALL;" ";programs;" CPACK_INSTALL_CMAKE_PROJECTS "${CPACK_INSTALL_CMAKE_PROJECTS}")
elseif(CPACK_GENERATOR STREQUAL "ZIP")
  set(CPACK_PACKAGE_FILE_NAME "${CPACK_MOSAIKA_ZIP_NAME}")
endif()
