# morva-cli odbc against the SQLite ODBC driver, with data sources only from files written here.
set(WORK ${CMAKE_CURRENT_BINARY_DIR}/cli_odbc)
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/sys)
file(WRITE ${WORK}/sys/odbcinst.ini "")
file(WRITE ${WORK}/sys/odbc.ini "")
file(WRITE ${WORK}/empty.ini "")
set(ENV{ODBCSYSINI} ${WORK}/sys)
# The SQLite ODBC driver keeps allocations past its unloading, which a sanitizer build would
# report as leaks of the command line; the compiler's own paths are leak-checked by its tests.
if(DEFINED ENV{ASAN_OPTIONS})
  set(ENV{ASAN_OPTIONS} "$ENV{ASAN_OPTIONS}:detect_leaks=0")
endif()

set(CLI_OPTIONS --database-dir ${WORK}/db)
set(CLI_STDIN ${WORK}/stdin)
include(${CMAKE_CURRENT_LIST_DIR}/../../cmake/CliTestHelpers.cmake)
file(WRITE ${WORK}/stdin "")

# No data source: the box on standard error, nothing listed.
set(ENV{ODBCINI} ${WORK}/empty.ini)
run(1 odbc --list)
if(NOT OUT STREQUAL "" OR NOT ERR STREQUAL "ODBC Error!: Cannot found Data Source Name(s)\n")
  message(FATAL_ERROR "empty list: [${OUT}] [${ERR}]")
endif()

execute_process(COMMAND sqlite3 ${WORK}/shop.db
  "CREATE TABLE item (id INTEGER PRIMARY KEY, name VARCHAR(20)); CREATE TABLE part (id INTEGER PRIMARY KEY, item_id INTEGER REFERENCES item (id));"
  RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cannot make the SQLite database")
endif()
file(WRITE ${WORK}/user.ini "[shop]\nDriver=${DRIVER_DIR}/libsqlite3odbc.so\nDatabase=${WORK}/shop.db\nNoCreat=1\n\n[gone]\nDriver=${DRIVER_DIR}/libsqlite3odbc.so\nDatabase=${WORK}/none/x.db\nNoCreat=1\n")
set(ENV{ODBCINI} ${WORK}/user.ini)
run(0 odbc --list)
if(NOT OUT STREQUAL "shop\ngone\n")
  message(FATAL_ERROR "list: [${OUT}]")
endif()

file(WRITE ${WORK}/stdin "secret-word\n")
run(0 odbc shop --user me --password-stdin)
if(NOT OUT STREQUAL "2 table detected.\n\tITEM\n\tPART\n"
   OR NOT ERR STREQUAL "Morva ODBC Driver: Database shop with 2 tables created\n")
  message(FATAL_ERROR "extraction: [${OUT}] [${ERR}]")
endif()
if(NOT IS_DIRECTORY ${WORK}/db/shop/Schema)
  message(FATAL_ERROR "odbc did not make the Schema folder")
endif()
run(0 dump shop)
if(NOT OUT MATCHES "TABLE PART type=\"Sub\" label=\"part\"\n.*REF ITEM ID=ITEM_ID\n$")
  message(FATAL_ERROR "dump: [${OUT}]")
endif()

# With both streams in one file, the log lines that standard output still buffers come before
# the closing box: the last table name and the box stay two lines, however long the log.
set(statements "")
set(pad "_with_a_name_long_enough_to_fill_the_output_buffer_in_few_lines_of_the_log")
set(expected "50 table detected.\n")
foreach(i RANGE 100 149)
  string(APPEND statements "CREATE TABLE table_number_${i}${pad} (id INTEGER);")
  string(TOUPPER "\tTABLE_NUMBER_${i}${pad}\n" line)
  string(APPEND expected "${line}")
endforeach()
string(APPEND expected "Morva ODBC Driver: Database many with 50 tables created\n")
execute_process(COMMAND sqlite3 ${WORK}/many.db "${statements}" RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cannot make the SQLite database with many tables")
endif()
file(APPEND ${WORK}/user.ini "\n[many]\nDriver=${DRIVER_DIR}/libsqlite3odbc.so\nDatabase=${WORK}/many.db\nNoCreat=1\n")
execute_process(COMMAND sh -c "\"$0\" --database-dir db odbc many >merged.txt 2>&1" ${CLI}
  WORKING_DIRECTORY ${WORK} RESULT_VARIABLE rc INPUT_FILE ${WORK}/stdin)
file(READ ${WORK}/merged.txt merged)
if(NOT rc EQUAL 0 OR NOT merged STREQUAL expected)
  message(FATAL_ERROR "merged log and box (exit ${rc}):\n${merged}")
endif()

# A data source that cannot connect: the driver's diagnostic, no table file, failure.
run(1 odbc gone --password-stdin)
if(NOT ERR MATCHES "^ODBC Error!: " OR ERR MATCHES "secret-word")
  message(FATAL_ERROR "failed connect: [${ERR}]")
endif()
file(GLOB written ${WORK}/db/gone/*)
if(NOT written STREQUAL "${WORK}/db/gone/Schema")
  message(FATAL_ERROR "files written for a failed connect: ${written}")
endif()
run(2 odbc)
run(2 odbc a b)
run(2 odbc shop --user)
