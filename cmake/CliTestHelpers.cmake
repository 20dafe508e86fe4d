# Helpers of the command-line tests (cmake -P scripts). Before including, set CLI (the
# morva-cli executable) and optionally WORK (the working folder), CLI_OPTIONS (options put
# before every command's arguments) and CLI_STDIN (the file standard input reads).

# run(code ARGS...): runs morva-cli with ARGS; fails the test unless it exits with `code`.
# Leaves its standard output in OUT and its standard error in ERR.
function(run code)
  set(extra)
  if(DEFINED WORK)
    list(APPEND extra WORKING_DIRECTORY ${WORK})
  endif()
  if(DEFINED CLI_STDIN)
    list(APPEND extra INPUT_FILE ${CLI_STDIN})
  endif()
  execute_process(COMMAND ${CLI} ${CLI_OPTIONS} ${ARGN} ${extra}
    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL ${code})
    message(FATAL_ERROR "morva-cli ${ARGN}: exit ${rc}, expected ${code}\n${out}${err}")
  endif()
  set(OUT "${out}" PARENT_SCOPE)
  set(ERR "${err}" PARENT_SCOPE)
endfunction()

function(expect_equal actual expected)
  if(NOT "${actual}" STREQUAL "${expected}")
    message(FATAL_ERROR "got:\n${actual}\nexpected:\n${expected}")
  endif()
endfunction()

function(expect_match text pattern)
  if(NOT "${text}" MATCHES "${pattern}")
    message(FATAL_ERROR "no match for ${pattern} in:\n${text}")
  endif()
endfunction()
