# Links a program with LLD, so that the load-configuration directory the
# program defines (_load_config_used) lands in its image: GNU ld 2.40 leaves
# that directory empty. Without ld.lld the programs link with GNU ld as before,
# and MOSAIKA_LINKS_WITH_LLD is false (-DMOSAIKA_LINKS_WITH_LLD=OFF forces that).
#
# -fuse-ld=lld cannot do it: this MinGW GCC is built --with-ld, so collect2
# looks only for /usr/bin/x86_64-w64-mingw32-ld.lld (which Debian does not
# ship) and silently falls back to GNU ld. A small driver file of our own,
# read by GCC before its built-in rules, makes ld.lld the driver's linker
# instead of collect2; -fno-use-linker-plugin keeps the LTO
# plugin options, which only collect2 and GNU ld take, off its command line.
# ld.lld sees "-m i386pep" and links as a MinGW linker.
include_guard(GLOBAL)
include(CheckLinkerFlag)

find_program(MOSAIKA_LLD NAMES ld.lld)
set(MOSAIKA_LLD_DRIVER_FILE ${CMAKE_BINARY_DIR}/ld.lld.driver CACHE INTERNAL "GCC driver file that makes ld.lld the linker")
if(MOSAIKA_LLD)
  file(CONFIGURE OUTPUT ${MOSAIKA_LLD_DRIVER_FILE} CONTENT "*linker:\n${MOSAIKA_LLD}\n\n")
  check_linker_flag(CXX "-specs=${MOSAIKA_LLD_DRIVER_FILE};-fno-use-linker-plugin" MOSAIKA_LINKS_WITH_LLD)
else()
  set(MOSAIKA_LINKS_WITH_LLD FALSE CACHE INTERNAL "")
endif()
if(MOSAIKA_LINKS_WITH_LLD)
  message(STATUS "The programs link with ${MOSAIKA_LLD} and carry a load-configuration directory")
else()
  message(STATUS "ld.lld not found or not usable: the programs link with GNU ld, without a load-configuration directory")
endif()

# Links TARGET with LLD and adds win32/LoadConfig.cpp, which defines _load_config_used.
function(mosaika_link_with_load_config target)
  if(MOSAIKA_LINKS_WITH_LLD)
    target_sources(${target} PRIVATE ${PROJECT_SOURCE_DIR}/win32/LoadConfig.cpp)
    target_link_options(${target} PRIVATE -specs=${MOSAIKA_LLD_DRIVER_FILE} -fno-use-linker-plugin)
    set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${MOSAIKA_LLD_DRIVER_FILE})
  endif()
endfunction()
