# morva-cli dfm: conversion, the text view of the result, and the failures' exit statuses.
# Run with -DCLI=<morva-cli> -DGOLDEN=<golden folder> -DWORK=<scratch folder>.
function(run_cli code)
  execute_process(COMMAND ${CLI} ${ARGN} WORKING_DIRECTORY ${WORK}
    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL ${code})
    message(FATAL_ERROR "morva-cli ${ARGN}: exit ${rc}, expected ${code}\n${out}${err}")
  endif()
  set(LAST_OUT "${out}" PARENT_SCOPE)
  set(LAST_ERR "${err}" PARENT_SCOPE)
endfunction()

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/gen)
file(COPY ${GOLDEN}/customer/Customer.txt DESTINATION ${WORK}/gen)

# Without a target the binary form file lands in the current directory.
run_cli(0 dfm gen/Customer.txt)
if(NOT EXISTS ${WORK}/Customer.DFM)
  message(FATAL_ERROR "dfm did not write Customer.DFM")
endif()
# 0xFF, type 10, then the upper-cased class name "TCUSTOMERFORM" and a zero byte.
file(READ ${WORK}/Customer.DFM head LIMIT 17 HEX)
if(NOT head STREQUAL "ff0a0054435553544f4d4552464f524d00")
  message(FATAL_ERROR "resource header of Customer.DFM begins ${head}")
endif()

run_cli(0 dfm --text Customer.DFM)
file(READ ${GOLDEN}/customer/Customer.expected.txt expected)
if(NOT LAST_OUT STREQUAL expected)
  message(FATAL_ERROR "dfm --text differs from Customer.expected.txt:\n${LAST_OUT}")
endif()

run_cli(0 dfm gen/Customer.txt gen/Copy.dfm)
file(SHA256 ${WORK}/Customer.DFM a)
file(SHA256 ${WORK}/gen/Copy.dfm b)
if(NOT a STREQUAL b)
  message(FATAL_ERROR "dfm SOURCE TARGET wrote other bytes than dfm SOURCE")
endif()

file(WRITE ${WORK}/Bad.txt "object Bad: TBad\n  Left = \nend\n")
run_cli(1 dfm Bad.txt)
if(NOT LAST_ERR STREQUAL "Bad.txt: Error on Converting to .DFM: Line 3: value expected but 'end' found\n")
  message(FATAL_ERROR "unexpected message: ${LAST_ERR}")
endif()
if(EXISTS ${WORK}/Bad.DFM)
  message(FATAL_ERROR "a failed conversion left Bad.DFM behind")
endif()

run_cli(1 dfm --text gen/Customer.txt)
run_cli(2 dfm Missing.txt)
run_cli(2 dfm)
run_cli(2 dfm a b c)
run_cli(2 dfm --text a b)
file(REMOVE_RECURSE ${WORK})
