# cmake -DOBJDUMP=<objdump> -DBINARY=<program> -P CheckWideStackMoves.cmake
#
# Fails when the program moves a 32- or 64-byte vector to or from the stack
# with an aligned move (vmovaps, vmovapd, vmovdqa, vmovdqa32, vmovdqa64 on a
# ymm or zmm register, addressed through rsp or rbp). 64-bit Windows aligns
# the stack to 16 bytes only, so such a move faults there at random, while
# Linux and Wine never show it.
if(NOT OBJDUMP OR NOT BINARY)
  message(FATAL_ERROR "usage: cmake -DOBJDUMP=<objdump> -DBINARY=<program> -P CheckWideStackMoves.cmake")
endif()
if(NOT EXISTS "${BINARY}")
  message(FATAL_ERROR "no such program: ${BINARY}")
endif()

execute_process(COMMAND "${OBJDUMP}" -d --no-show-raw-insn "${BINARY}"
                OUTPUT_VARIABLE listing RESULT_VARIABLE status ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${OBJDUMP} failed (${status}): ${errors}")
endif()

# Every aligned vector move, then those with a wide register and a stack address.
string(REGEX MATCHALL "vmov(aps|apd|dqa|dqa32|dqa64)[ \t][^\n]*" moves "${listing}")
set(offending "")
foreach(move IN LISTS moves)
  if(move MATCHES "%[yz]mm" AND move MATCHES "\\(%(rsp|rbp)")
    string(APPEND offending "  ${move}\n")
  endif()
endforeach()
if(offending)
  message(FATAL_ERROR "aligned wide moves on the stack in ${BINARY}:\n${offending}")
endif()

# A listing without a single wide instruction would mean the wide paths are not in the program.
string(REGEX MATCHALL "%ymm" ymm "${listing}")
string(REGEX MATCHALL "%zmm" zmm "${listing}")
list(LENGTH ymm ymmCount)
list(LENGTH zmm zmmCount)
if(ymmCount EQUAL 0 OR zmmCount EQUAL 0)
  message(FATAL_ERROR "${BINARY} holds no ymm or no zmm instruction: the wide shading paths are missing")
endif()
message(STATUS "${ymmCount} ymm and ${zmmCount} zmm operands, no aligned wide move on the stack")
