# Makes the packages afresh for the tests, into a folder of their own (the
# release packages in packages/ stay as scripts/package.sh made them), keeps a
# copy of the programs they were made from in OUTPUT/built, checks each package
# against the SHA-256 sum written beside it, and unpacks the zip as a user would
# into a folder whose path has blanks and Japanese characters:
#   cmake -DCPACK=cpack -DBUILD_DIR=... -DSAVER=... -DRENDERER=... -DOUTPUT=...
#         -DSETUP=name.exe -DZIP=name.zip -DUNPACK_TO=... -P MakePackages.cmake
# makensis needs a UTF-8 locale for the Japanese file names (it crashes in "C").

file(REMOVE_RECURSE "${OUTPUT}")
file(COPY "${SAVER}" "${RENDERER}" DESTINATION "${OUTPUT}/built")
execute_process(
  COMMAND ${CPACK} --config ${BUILD_DIR}/CPackConfig.cmake -B ${OUTPUT}/staging
    -D CPACK_OUTPUT_FILE_PREFIX=${OUTPUT}
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cpack failed (${result})")
endif()

# A build folder is shared: a program built anew while cpack ran would make
# the packages and the copies differ.
foreach(program IN ITEMS "${SAVER}" "${RENDERER}")
  get_filename_component(name "${program}" NAME)
  file(SHA256 "${program}" now)
  file(SHA256 "${OUTPUT}/built/${name}" packaged)
  if(NOT now STREQUAL packaged)
    message(FATAL_ERROR "${name} was built anew while the packages were made: run again")
  endif()
endforeach()

foreach(name IN ITEMS "${SETUP}" "${ZIP}")
  set(package "${OUTPUT}/${name}")
  if(NOT EXISTS "${package}" OR NOT EXISTS "${package}.sha256")
    message(FATAL_ERROR "missing: ${package} or its .sha256")
  endif()
  file(SHA256 "${package}" sum)
  file(READ "${package}.sha256" line)
  # The line sha256sum -c reads: the sum, two blanks, the file's name.
  if(NOT line MATCHES "^${sum}  ${name}\n?$")
    message(FATAL_ERROR "${name}.sha256 does not match: ${line} (the file's sum is ${sum})")
  endif()
  message(STATUS "${name}: ${sum}")
endforeach()

file(REMOVE_RECURSE "${UNPACK_TO}")
file(MAKE_DIRECTORY "${UNPACK_TO}")
execute_process(COMMAND ${CMAKE_COMMAND} -E tar xf "${OUTPUT}/${ZIP}"
  WORKING_DIRECTORY "${UNPACK_TO}" RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "unpacking ${ZIP} failed (${result})")
endif()
