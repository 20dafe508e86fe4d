# morva-cli sql and dump: log lines, exit statuses and the database read back.
set(WORK ${CMAKE_CURRENT_BINARY_DIR}/cli_sql_dump)
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})

set(CLI_OPTIONS --database-dir ${WORK}/db)
include(${CMAKE_CURRENT_LIST_DIR}/../../cmake/CliTestHelpers.cmake)


file(WRITE ${WORK}/shop.sql "CREATE TABLE Customer ( /* Customers */\n  ID INTEGER NOT NULL PRIMARY KEY,\n  NAME VARCHAR(40) /* Name */\n);\nCREATE TABLE ORDERS (ID INTEGER, CUST INTEGER, FOREIGN KEY (CUST) REFERENCES CUSTOMER (ID));\n")
file(WRITE ${WORK}/bad.sql "CREATE TABLE BAD (A ==);\n")

run(0 sql SHOP shop.sql)
expect_equal("${OUT}" "Generate Information to SHOP\nshop.sql compiling...\n0 Errors, 0 Warning\n2 table detected.\n\tCUSTOMER\n\tORDERS\nDone.\n")
if(NOT IS_DIRECTORY ${WORK}/db/SHOP/Schema)
  message(FATAL_ERROR "sql did not make the Schema folder")
endif()

run(0 dump SHOP)
expect_equal("${OUT}" "TABLE CUSTOMER type=\"Master\" label=\"Customers\"\n  COLUMN ID type=\"Key\" label=\"ID\" data=\"INTEGER\" length=0 width=10 flags=1 precision=0 scale=0\n  COLUMN NAME type=\"Normal\" label=\"Name\" data=\"VARCHAR\" length=40 width=40 flags=0 precision=0 scale=0\nTABLE ORDERS type=\"Sub\" label=\"ORDERS\"\n  COLUMN ID type=\"Normal\" label=\"ID\" data=\"INTEGER\" length=0 width=10 flags=0 precision=0 scale=0\n  COLUMN CUST type=\"RefTop\" label=\"CUST\" data=\"INTEGER\" length=0 width=10 flags=0 precision=0 scale=0\n  REF CUSTOMER ID=CUST\n")
run(0 dump SHOP --json)
if(NOT OUT MATCHES "\"name\": \"CUSTOMER\", \"type\": \"Master\", \"label\": \"Customers\"")
  message(FATAL_ERROR "bad JSON dump: ${OUT}")
endif()

# Errors in a script still write its tables, and the exit status says so.
run(1 sql SHOP bad.sql)
expect_equal("${OUT}" "Generate Information to SHOP\nbad.sql compiling...\nbad.sql(1): syntax error\n1 Errors, 0 Warning\n1 table detected.\n\tBAD\nDone.\n")

# Missing input is bad usage and writes nothing.
run(2 sql OTHER missing.sql)
if(EXISTS ${WORK}/db/OTHER OR NOT ERR MATCHES "missing.sql")
  message(FATAL_ERROR "missing script: ${ERR}")
endif()
run(2 sql SHOP)
run(2 sql .. shop.sql)
run(2 dump NOWHERE)
expect_equal("${ERR}" "morva-cli: no database \"NOWHERE\" in ${WORK}/db; databases: SHOP\n")
run(2 dump ..)
run(2 dump NOWHERE --database-dir ${WORK}/none)
expect_equal("${ERR}" "morva-cli: no database \"NOWHERE\" in ${WORK}/none; there are none\n")

# Quotes and backslashes in texts are escaped, so that a text never ends early.
file(WRITE ${WORK}/quoted.sql "CREATE TABLE NOTE ( /* Note \"x\" in C:\\dir */\n  ID INTEGER\n);\n")
run(0 sql QUOTED quoted.sql)
run(0 dump QUOTED)
expect_equal("${OUT}" "TABLE NOTE type=\"\" label=\"Note \\\"x\\\" in C:\\\\dir\"\n  COLUMN ID type=\"Normal\" label=\"ID\" data=\"INTEGER\" length=0 width=10 flags=0 precision=0 scale=0\n")

# A stray file in the folder makes the database unreadable, naming the file.
file(WRITE ${WORK}/db/SHOP/notes.txt "not a table\n")
run(1 dump SHOP)
expect_equal("${ERR}" "morva-cli: Invalid file format(${WORK}/db/SHOP/notes.txt)\n")

# Into an existing database: table files the scripts no longer define stay and are named on
# standard error; --fresh removes them, never the schemas, and nothing after a fatal error.
file(WRITE ${WORK}/orders.sql "CREATE TABLE ORDERS (ID INTEGER);\nCREATE TABLE FOO (A INTEGER);\nCREATE TABLE BAR (B INTEGER);\n")
file(WRITE ${WORK}/orders2.sql "CREATE TABLE ORDERS (ID INTEGER, TOTAL INTEGER);\n")
file(MAKE_DIRECTORY ${WORK}/folder.sql)
run(0 sql ORDERS orders.sql)
expect_equal("${ERR}" "")
run(0 schema create ORDERS S)
run(0 sql ORDERS orders2.sql)
expect_equal("${OUT}" "Generate Information to ORDERS\norders2.sql compiling...\n0 Errors, 0 Warning\n1 table detected.\n\tORDERS\nDone.\n")
expect_equal("${ERR}" "morva-cli: ORDERS: 2 table files not defined by these scripts were kept: BAR, FOO (use --fresh to remove them)\n")
run(1 sql ORDERS orders2.sql folder.sql --fresh)
expect_equal("${ERR}" "morva-cli: ORDERS: 2 table files not defined by these scripts were kept: BAR, FOO (a script ended on a fatal error)\n")
run(0 sql --fresh ORDERS orders2.sql)
expect_equal("${ERR}" "")
file(GLOB left RELATIVE ${WORK}/db/ORDERS ${WORK}/db/ORDERS/* ${WORK}/db/ORDERS/Schema/*)
list(SORT left)
expect_equal("${left}" "ORDERS;Schema;Schema/S.CSF")
run(0 dump ORDERS)
if(NOT OUT MATCHES "COLUMN TOTAL")
  message(FATAL_ERROR "ORDERS was not rewritten: ${OUT}")
endif()
file(WRITE ${WORK}/db/ORDERS/OLD "")
run(0 sql ORDERS orders2.sql)
expect_equal("${ERR}" "morva-cli: ORDERS: 1 table file not defined by these scripts was kept: OLD (use --fresh to remove it)\n")
