# Database names that would leave the database folder are refused by every subcommand, naming
# the name and the reason, and nothing is written outside the database folder. A temporary
# file left by an interrupted save does not make the database unreadable.
set(WORK ${CMAKE_CURRENT_BINARY_DIR}/cli_database_names)
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/base)

set(CLI_OPTIONS --database-dir ${WORK}/base/db)
set(CLI_STDIN ${WORK}/shop.sql)
include(${CMAKE_CURRENT_LIST_DIR}/../../cmake/CliTestHelpers.cmake)

file(WRITE ${WORK}/shop.sql "CREATE TABLE CUSTOMER (ID INTEGER NOT NULL PRIMARY KEY);\n")
file(WRITE ${WORK}/list.tpx "<TEXT>x</TEXT>\n")
run(0 sql SHOP shop.sql)

foreach(name ".." "a/../.." "/abs")
  foreach(command "sql;${name};shop.sql" "dump;${name}" "dump;${name};S" "schema;list;${name}"
                  "schema;create;${name};S" "run;list.tpx;--db;${name}" "odbc;${name}")
    run(2 ${command})
    string(FIND "${ERR}" "'${name}' cannot name a database: " at)
    if(at LESS 0)
      message(FATAL_ERROR "${command}: the message does not name '${name}': ${ERR}")
    endif()
  endforeach()
endforeach()

file(GLOB_RECURSE written RELATIVE ${WORK}/base LIST_DIRECTORIES true ${WORK}/base/*)
list(SORT written)
if(NOT written STREQUAL "db;db/SHOP;db/SHOP/CUSTOMER;db/SHOP/Schema")
  message(FATAL_ERROR "written: ${written}")
endif()

file(WRITE ${WORK}/base/db/SHOP/.table-Ab12Cd "half a table")
run(0 dump SHOP)
if(EXISTS ${WORK}/base/db/SHOP/.table-Ab12Cd)
  message(FATAL_ERROR "the leftover temporary file was not removed")
endif()
