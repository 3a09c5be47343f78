# Warnings, sanitizers, static linking and the test frameworks, in one place.

# Our own targets get strict warnings (-Wdate-time: no __DATE__ or __TIME__,
# which would make every build differ); third-party code is built without them.
add_library(mosaika_warnings INTERFACE)
target_compile_options(mosaika_warnings INTERFACE -Wall -Wextra -Wpedantic -Wconversion -Wshadow -Wdate-time -Werror)

if(MOSAIKA_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

if(MOSAIKA_FUZZ)
  # libFuzzer brings its own driver: no test framework, no unit tests.
elseif(WIN32)
  # No MinGW runtime DLL beside the programs: they import only system DLLs.
  add_link_options(-static -static-libgcc -static-libstdc++)
  # The same bytes from every build: no time stamp in the PE header or its
  # debug directory (GNU ld and ld.lld alike), and no build folder in any
  # object (__FILE__, debug information); the build folder's map comes last,
  # as it lies inside the source folder and the last matching map wins.
  add_link_options(LINKER:--no-insert-timestamp)
  add_compile_options(-ffile-prefix-map=${PROJECT_SOURCE_DIR}/= -ffile-prefix-map=${CMAKE_BINARY_DIR}/=)
  add_compile_definitions(UNICODE _UNICODE)
  if(CMAKE_CROSSCOMPILING)
    # Windows programs run under Wine, each in the private world the wrapper sets up.
    set(CMAKE_CROSSCOMPILING_EMULATOR ${PROJECT_SOURCE_DIR}/cmake/wine-run.sh ${CMAKE_BINARY_DIR}/wine-world)
  endif()
  # GoogleTest built from source for the target (Debian ships it in /usr/src);
  # on Windows itself an installed GoogleTest (e.g. MSYS2's) is used instead.
  set(MOSAIKA_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources to build for Windows")
  if(EXISTS ${MOSAIKA_GOOGLETEST_SOURCE}/CMakeLists.txt)
    set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(${MOSAIKA_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  else()
    find_package(GTest REQUIRED)
    add_library(gtest ALIAS GTest::gtest)
    add_library(gtest_main ALIAS GTest::gtest_main)
  endif()
else()
  find_package(GTest REQUIRED)
  if(MOSAIKA_BENCHMARKS)
    find_package(benchmark REQUIRED)
  endif()
endif()
include(GoogleTest)

# mosaika_add_test(name SOURCES ... LIBS ...): one GoogleTest program,
# its cases discovered one by one. Windows tests run under Wine one at a time.
function(mosaika_add_test name)
  if(MOSAIKA_FUZZ)
    return()
  endif()
  cmake_parse_arguments(arg "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${arg_SOURCES})
  target_link_libraries(${name} PRIVATE ${arg_LIBS} mosaika_warnings)
  if(WIN32)
    target_link_libraries(${name} PRIVATE gtest gtest_main)
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 120 DISCOVERY_MODE PRE_TEST
      PROPERTIES RESOURCE_LOCK wine TIMEOUT 120 LABELS wine)
  else()
    target_link_libraries(${name} PRIVATE GTest::gtest GTest::gtest_main)
    gtest_discover_tests(${name} PROPERTIES TIMEOUT 120 LABELS native)
  endif()
endfunction()
