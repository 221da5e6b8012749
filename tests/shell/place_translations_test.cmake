# SPDX-License-Identifier: MIT
# The placing of the shipped translation table beside the program: a missing
# table is placed, the untouched copy of an earlier build is replaced by a
# newer table, a table changed since or placed by no build stays.
# Run with -DSCRIPT=<place_translations.cmake> -DWORK=<empty folder>.
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}/shipped")
set(shipped "${WORK}/shipped/translate.dat")
set(target "${WORK}/translate.dat")

function(place)
  execute_process(COMMAND ${CMAKE_COMMAND} -DSHIPPED=${shipped} -DTARGET=${target} -P ${SCRIPT}
                  RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "the script failed: ${result}")
  endif()
endfunction()

function(expect content what)
  file(READ "${target}" actual)
  if(NOT actual STREQUAL content)
    message(FATAL_ERROR "${what}: beside the program lies '${actual}', not '${content}'")
  endif()
endfunction()

file(WRITE "${shipped}" "first build")
place()
expect("first build" "missing table")

file(WRITE "${shipped}" "second build")
place()
expect("second build" "untouched copy of the first build")

file(WRITE "${target}" "learned a text")
file(WRITE "${shipped}" "third build")
place()
expect("learned a text" "table changed by the program")

file(REMOVE "${shipped}.placed")
file(WRITE "${target}" "second build")
place()
expect("second build" "table no build placed")
file(REMOVE_RECURSE "${WORK}")
