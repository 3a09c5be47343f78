# Run by cpack once it has made the zip (CPACK_POST_BUILD_SCRIPTS), before it
# copies it out and sums it: writes the zip again with Info-ZIP's zip, so that
# every build of a commit gives the same bytes. cpack's own zip records the
# packing user's uid and gid in every entry and lists the files in the order
# the file system gives them. This one has the files in sorted order, no extra
# fields (-X: no owner, no Unix times), the release time (SOURCE_DATE_EPOCH)
# as every file's DOS time, read in UTC, and UTF-8 names flagged as such, as
# Explorer needs them (-UN=UTF8).

find_program(zip_tool zip)
if(NOT zip_tool)
  message(FATAL_ERROR "zip (Info-ZIP) is missing: scripts/install-deps.sh installs it")
endif()
set(staged "${CPACK_TEMPORARY_DIRECTORY}")
file(GLOB_RECURSE files LIST_DIRECTORIES false RELATIVE "${staged}" "${staged}/*")
list(SORT files)
if(NOT "$ENV{SOURCE_DATE_EPOCH}" STREQUAL "")
  execute_process(COMMAND touch -d "@$ENV{SOURCE_DATE_EPOCH}" ${files} WORKING_DIRECTORY "${staged}"
    COMMAND_ERROR_IS_FATAL ANY)
endif()
foreach(package IN LISTS CPACK_PACKAGE_FILES)
  file(REMOVE "${package}")
  execute_process(COMMAND ${CMAKE_COMMAND} -E env TZ=UTC LC_ALL=C.UTF-8
      "${zip_tool}" -q -X -D -UN=UTF8 "${package}" ${files}
    WORKING_DIRECTORY "${staged}" COMMAND_ERROR_IS_FATAL ANY)
endforeach()
