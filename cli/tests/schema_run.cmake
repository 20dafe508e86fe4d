# morva-cli schema, dump of a schema and run: the schema hand-over, the run sequence, exit
# statuses, and the sample templates generating code that compiles and loads.
set(WORK ${CMAKE_CURRENT_BINARY_DIR}/cli_schema_run)
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})

set(CLI_OPTIONS --database-dir ${WORK}/db --output-dir ${WORK}/out)
include(${CMAKE_CURRENT_LIST_DIR}/../../cmake/CliTestHelpers.cmake)



file(WRITE ${WORK}/shop.sql "CREATE TABLE CUSTOMER ( /* Customers */\n  ID INTEGER NOT NULL PRIMARY KEY,\n  NAME VARCHAR(40), /* Name */\n  KIND CHAR(1) /* Kind\n  A=Active\n  I=Inactive */\n);\nCREATE TABLE ORDERS (ID INTEGER PRIMARY KEY, CUST INTEGER, FOREIGN KEY (CUST) REFERENCES CUSTOMER (ID));\n")
file(WRITE ${WORK}/list.tpx "<TEXT>\n<S>/<STYPE>/<SL>\n<TABLES><T>(<COLUMNS><C> <L> <DISPSIZE><ELC>, </ELC></COLUMNS>)<REFTABLES> -> <REFT></REFTABLES>\n</TABLES>\n<CREATE>file.txt</CREATE>\none\ntwo\n<CLOSE>\n</TEXT>\n")
file(WRITE ${WORK}/broken.tpx "<TEXT>\n<IF><T> == X\n</TEXT>\n")
file(WRITE ${WORK}/divide.tpx "<TEXT>\n<VAR>A</VAR><EXPR><$A> = 1 / 0;</EXPR>\n</TEXT>\n")

run(0 sql SHOP shop.sql)

# Schemas: all tables, chosen tables, a listing, and refusals.
run(0 schema create SHOP All)
expect_equal("${OUT}" "Schema All of SHOP created with 2 tables\n")
run(0 schema create SHOP Orders --table CUSTOMER)
# An existing schema may hold choices made in the workbench: only --replace replaces it.
run(2 schema create SHOP Orders --table ORDERS)
expect_equal("${ERR}" "morva-cli: schema Orders of SHOP already exists; add --replace to replace it\n")
run(0 dump SHOP Orders)
expect_match("${OUT}" "\ntable \"CUSTOMER\"")
run(0 schema create SHOP Orders --type Delphi --label "Orders only" --table orders --replace)
expect_equal("${OUT}" "Schema Orders of SHOP replaced with 1 tables\n")
run(0 schema list SHOP)
expect_equal("${OUT}" "All\nOrders\n")
run(0 dump SHOP Orders)
expect_equal("${OUT}" "schema \"Orders\" type \"Delphi\" label \"Orders only\" database \"SHOP\"\ntable \"ORDERS\" type \"Sub\" label \"ORDERS\"\n  column \"ID\" type \"Key\" label \"ID\"\n  column \"CUST\" type \"RefTop\" label \"CUST\"\n  references \"CUSTOMER\"\n    \"CUST\" -> \"ID\"\n")
run(0 dump SHOP Orders --json)
expect_match("${OUT}" "\"name\": \"Orders\", \"type\": \"Delphi\"")
run(2 schema create SHOP Bad --table NOPE)
expect_match("${ERR}" "database SHOP has no table NOPE")
run(2 schema create SHOP ../escape)
# An unknown database or schema is bad usage that lists the ones there are.
set(no_db "morva-cli: no database \"NOWHERE\" in ${WORK}/db; databases: SHOP\n")
run(2 schema create NOWHERE S)
expect_equal("${ERR}" "${no_db}")
run(2 schema list NOWHERE)
expect_equal("${ERR}" "${no_db}")
run(2 dump NOWHERE Orders)
expect_equal("${ERR}" "${no_db}")
run(2 dump SHOP Missing)
expect_equal("${ERR}" "morva-cli: no schema \"Missing\" in SHOP; schemas: All, Orders\n")
run(2 dump .. SHOP)
if(EXISTS ${WORK}/db/SHOP/Schema/Bad.CSF)
  message(FATAL_ERROR "a refused schema was written")
endif()

# A run over a saved schema: the identity, the tables in schema order, files in the output
# folder with carriage returns, the log printed with line feeds.
run(0 run list.tpx --db SHOP --schema Orders)
expect_equal("${OUT}" "list.tpx Compiling...\n0 Error,  0 Warning\nStart script...\nfile.txt\nORDERS/Delphi/Orders only\nORDERS(ID ID 10, CUST CUST 10)\nEnd script.\n")
file(READ ${WORK}/out/file.txt text HEX)
expect_equal("${text}" "6f6e650d0a74776f0d0a")

# Without --schema every table and column goes over; --lf writes line feeds only.
run(0 run list.tpx --db SHOP --lf)
expect_match("${OUT}" "\n//\nCUSTOMER\\(ID ID 10, NAME Name 40, KIND Kind 1\\)\nORDERS")
file(READ ${WORK}/out/file.txt text HEX)
expect_equal("${text}" "6f6e650a74776f0a")

# A warning naming a tag goes to standard error with its place; the log stays on standard output.
file(WRITE ${WORK}/outside.tpx "<TEXT>\n  <COLUMNS><C>\n</COLUMNS>\n</TEXT>\n")
run(0 run outside.tpx --db SHOP --schema Orders)
expect_equal("${ERR}" "outside.tpx:2:3: warning: <COLUMNS> depends on the current table but is used outside <TABLES>\nmorva-cli: 0 files written, 0 unchanged, 0 pruned, 0 stale\n")
expect_equal("${OUT}" "outside.tpx Compiling...\noutside.tpx(2): Warning error: Token that depand on table used outside of Tables block\n0 Error,  1 Warning\nStart script...\n  ID\nCUST\nEnd script.\n")

# Compile errors and run-time errors fail the run; missing input is bad usage.
run(1 run broken.tpx --db SHOP)
run(1 run divide.tpx --db SHOP)
expect_match("${OUT}" "Start script...\nDivide by 0\n$")
run(2 run missing.tpx --db SHOP)
run(2 run list.tpx --db NOWHERE)
expect_equal("${ERR}" "${no_db}")
run(2 run list.tpx --db shop)
expect_match("${ERR}" "no database \"shop\" in [^\n]*; databases: SHOP\n")
run(2 run list.tpx --db SHOP --schema Missing)
expect_equal("${ERR}" "morva-cli: no schema \"Missing\" in SHOP; schemas: All, Orders\n")
run(2 run list.tpx)

# Global options after the command, anywhere among its arguments, win over those before it.
run(0 run list.tpx --output-dir ${WORK}/later --db SHOP --schema Orders)
file(READ ${WORK}/later/file.txt text HEX)
expect_equal("${text}" "6f6e650d0a74776f0d0a")
execute_process(COMMAND ${CLI} schema list SHOP --database-dir ${WORK}/db WORKING_DIRECTORY ${WORK}
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
expect_equal("${rc}|${out}${err}" "0|All\nOrders\n")
run(2 dump SHOP --database-dir)
expect_equal("${ERR}" "morva-cli: --database-dir needs a value\n")

# A schema that lists a column the database lost: the hand-over fails and nothing is compiled,
# run or written.
file(WRITE ${WORK}/shop.sql "CREATE TABLE CUSTOMER (ID INTEGER NOT NULL PRIMARY KEY);\nCREATE TABLE ORDERS (ID INTEGER PRIMARY KEY);\n")
file(REMOVE_RECURSE ${WORK}/db/SHOP/CUSTOMER ${WORK}/db/SHOP/ORDERS)
run(0 sql SHOP shop.sql)
file(REMOVE ${WORK}/out/file.txt)
run(1 run list.tpx --db SHOP --schema Orders --output-dir ${WORK}/never)
if(EXISTS ${WORK}/never)
  message(FATAL_ERROR "a refused hand-over made the output folder")
endif()
run(1 run list.tpx --db SHOP --schema Orders)
expect_equal("${ERR}" "morva-cli: handing the schema to the engine failed: Column CUST not found in table ORDERS\n")
expect_equal("${OUT}" "")
if(EXISTS ${WORK}/out/file.txt)
  message(FATAL_ERROR "a refused hand-over wrote output")
endif()

# Quotes and backslashes in a schema's texts are escaped in its dump.
run(0 schema create SHOP Quoted --label "Say \"hi\" \\ bye" --table CUSTOMER)
run(0 dump SHOP Quoted)
string(FIND "${OUT}" "schema \"Quoted\" type \"\" label \"Say \\\"hi\\\" \\\\ bye\" database \"SHOP\"\n" at)
if(NOT at EQUAL 0)
  message(FATAL_ERROR "quoted schema dump: ${OUT}")
endif()

# Aliases: the built-in sample alias, its tables, database information from it.
set(ENV{MORVA_SETTINGS} ${WORK}/settings.ini)
run(0 alias list)
expect_match("${OUT}" "^ORDERENTRY\tQSQLITE\t[^\n]*order_entry.db\n$")
run(0 alias tables orderentry)
expect_equal("${OUT}" "COUNTRY\nCUSTOMER\nEMPLOYEE\nORDERS\nORDER_LINE\nPAYMENT\nPRODUCT\nSUPPLIER\n")
run(0 alias build ORDERENTRY --table COUNTRY --table ORDERS)
expect_equal("${OUT}" "Database ORDERENTRY with 2 tables created\n")
run(0 dump ORDERENTRY)
expect_match("${OUT}" "TABLE COUNTRY type=\"Normal\" label=\"Normal\"\n  COLUMN COUNTRY_CODE type=\"Key\" label=\"COUNTRY_CODE\" data=\"VARCHAR\" length=2 width=2 flags=1")
run(1 alias build ORDERENTRY --table NOPE)
expect_match("${ERR}" "NOPE: no such table")
run(2 alias tables NOPE)
run(2 alias)

# The sample templates over the sample database: C++ that compiles, SQL that loads, form files.
set(SAMPLES ${SOURCE_DIR}/samples)
run(0 sql ORDERENTRY ${SAMPLES}/order_entry.sql)
run(0 schema create ORDERENTRY Main --type Demo --label "Order entry")
foreach(script cpp_header sql_script data_dictionary delphi_forms)
  run(0 run ${SAMPLES}/${script}.tpx --db ORDERENTRY --schema Main)
endforeach()
file(WRITE ${WORK}/use_header.cc "#include \"out/ORDERENTRY.h\"\nint main() { ORDER_LINE line{}; return line.LINE_NO; }\n")
execute_process(COMMAND g++ -std=c++20 -fsyntax-only -Wall -Werror use_header.cc
  WORKING_DIRECTORY ${WORK} RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the generated header does not compile:\n${err}")
endif()
find_program(SQLITE3 sqlite3)
if(SQLITE3)
  file(REMOVE ${WORK}/recreated.db)
  execute_process(COMMAND ${SQLITE3} -bail recreated.db ".read out/ORDERENTRY_create.sql"
    WORKING_DIRECTORY ${WORK} RESULT_VARIABLE rc ERROR_VARIABLE err)
  if(NOT rc EQUAL 0 OR NOT err STREQUAL "")
    message(FATAL_ERROR "the generated SQL script does not load:\n${err}")
  endif()
  execute_process(COMMAND ${SQLITE3} recreated.db "SELECT count(*) FROM sqlite_master WHERE type = 'table'"
    WORKING_DIRECTORY ${WORK} OUTPUT_VARIABLE count)
  expect_equal("${count}" "8\n")
endif()
foreach(file ORDERENTRY.html UORDERS.pas UORDERS.txt UORDERS.DFM)
  if(NOT EXISTS ${WORK}/out/${file})
    message(FATAL_ERROR "the samples did not generate ${file}")
  endif()
endforeach()
file(READ ${WORK}/out/UORDERS.DFM dfm LIMIT 16 HEX)
# The resource header names the form's class, upper-cased: TFORMORDERS.
expect_match("${dfm}" "^ff0a0054464f524d4f524445525300")
