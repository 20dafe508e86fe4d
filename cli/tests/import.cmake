# morva-cli import: dump --json, then import, gives byte-identical table and schema files and
# the same JSON again, over the samples and the SQL compiler's golden databases; models that
# break a rule are refused with their JSON path and leave nothing behind; every dump is valid
# against docs/morva-model.schema.json.
set(WORK ${CMAKE_CURRENT_BINARY_DIR}/cli_import)
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})

include(${CMAKE_CURRENT_LIST_DIR}/../../cmake/CliTestHelpers.cmake)

# run_in(code DIR args...): morva-cli with the database folder WORK/DIR.
function(run_in code dir)
  set(CLI_OPTIONS --database-dir ${WORK}/${dir})
  run(${code} ${ARGN})
  set(OUT "${OUT}" PARENT_SCOPE)
  set(ERR "${ERR}" PARENT_SCOPE)
endfunction()

# Every file below `a` is below `b` with the same bytes, and `b` holds no other. With a third
# argument GLOB, only the files of `a` itself (not of its subfolders) are compared.
function(expect_same_files a b)
  set(how GLOB_RECURSE)
  if(ARGN)
    set(how ${ARGN})
  endif()
  file(${how} left RELATIVE ${a} LIST_DIRECTORIES true ${a}/*)
  file(${how} right RELATIVE ${b} LIST_DIRECTORIES true ${b}/*)
  list(SORT left)
  list(SORT right)
  expect_equal("${right}" "${left}")
  foreach(f IN LISTS left)
    if(NOT IS_DIRECTORY ${a}/${f})
      execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${a}/${f} ${b}/${f}
        RESULT_VARIABLE differ)
      if(differ)
        message(FATAL_ERROR "${b}/${f} differs from ${a}/${f}")
      endif()
    endif()
  endforeach()
endfunction()

# round_trip(NAME): dump NAME of db, import it into db2, compare files, dump again.
set(dumps "")
function(round_trip name)
  run_in(0 db dump ${name} --json)
  set(json "${OUT}")
  file(WRITE ${WORK}/${name}.json "${json}")
  # The SQL reader records references as the scripts state them, also to tables and columns
  # that are not there: those are refused unless --keep-dangling keeps them.
  execute_process(COMMAND ${CLI} --database-dir ${WORK}/db2 import ${name} ${name}.json
    WORKING_DIRECTORY ${WORK} RESULT_VARIABLE rc OUTPUT_QUIET ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    if(NOT rc EQUAL 2 OR NOT err MATCHES "references.* \\(--keep-dangling keeps such a reference\\)\n$")
      message(FATAL_ERROR "import ${name}: exit ${rc}\n${err}")
    endif()
    run_in(0 db2 import ${name} ${name}.json --keep-dangling)
  endif()
  expect_same_files(${WORK}/db/${name} ${WORK}/db2/${name})
  run_in(0 db2 dump ${name} --json)
  expect_equal("${OUT}" "${json}")
  set(dumps "${dumps};${WORK}/${name}.json" PARENT_SCOPE)
endfunction()

# The samples and the golden databases, each with a schema of every table and one of a table.
file(GLOB golden ${SOURCE_DIR}/sqlcompiler/tests/golden/*/input.sql)
set(sources ${SOURCE_DIR}/samples/order_entry.sql ${SOURCE_DIR}/samples/order_entry_sqlite.sql
  ${golden})
set(i 0)
foreach(sql IN LISTS sources)
  math(EXPR i "${i} + 1")
  # Scripts with errors still write their tables: exit 1 is fine here.
  execute_process(COMMAND ${CLI} --database-dir ${WORK}/db sql DB${i} ${sql}
    RESULT_VARIABLE rc OUTPUT_QUIET ERROR_QUIET)
  run_in(0 db schema create DB${i} All --type Every --label "All tables")
  run_in(0 db dump DB${i})
  string(REGEX MATCH "^TABLE ([^ ]+)" first "${OUT}")
  if(first)
    run_in(0 db schema create DB${i} One --table ${CMAKE_MATCH_1})
  endif()
  round_trip(DB${i})
endforeach()

# Table files kept as they were written.
file(COPY ${SOURCE_DIR}/fuzz/seeds/table_file/ DESTINATION ${WORK}/db/SEEDS)
file(MAKE_DIRECTORY ${WORK}/db/SEEDS/Schema)
round_trip(SEEDS)
# A table file with a label in Latin-1, a control character and a cut UTF-8 sequence.
string(ASCII 233 1 226 130 bytes)
file(WRITE ${WORK}/bytes.sql "CREATE TABLE B ( /* ${bytes} */ A INTEGER);\n")
execute_process(COMMAND ${CLI} --database-dir ${WORK}/db sql BYTES ${WORK}/bytes.sql
  OUTPUT_QUIET ERROR_QUIET)
round_trip(BYTES)

# The JSON Schema document accepts every dump.
execute_process(COMMAND ${PYTHON} -c "import jsonschema" RESULT_VARIABLE no_validator
  OUTPUT_QUIET ERROR_QUIET)
if(PYTHON AND NOT no_validator)
  execute_process(COMMAND ${PYTHON} -c "
import json, sys, jsonschema
schema = json.load(open(sys.argv[1]))
jsonschema.Draft202012Validator.check_schema(schema)
validator = jsonschema.Draft202012Validator(schema)
for path in sys.argv[2:]:
    for e in validator.iter_errors(json.load(open(path, encoding='utf-8'))):
        sys.exit(path + ': ' + e.json_path + ': ' + e.message)
" ${SOURCE_DIR}/docs/morva-model.schema.json ${dumps} RESULT_VARIABLE rc ERROR_VARIABLE err)
  if(rc)
    message(FATAL_ERROR "a dump does not validate: ${err}")
  endif()
else()
  message(STATUS "python3-jsonschema not available: the schema check is skipped")
endif()

# An existing database is replaced only with --replace; then it holds exactly the model.
run_in(2 db2 import DB1 DB2.json)
expect_equal("${ERR}" "morva-cli: database DB1 already exists; add --replace to replace it\n")
run_in(0 db2 import DB1 DB2.json --replace)
string(REGEX MATCH "^Database DB1 replaced with [0-9]+ tables and 2 schemas\n$" ok "${OUT}")
if(NOT ok)
  message(FATAL_ERROR "replace: ${OUT}")
endif()
file(READ ${WORK}/DB2.json json)
string(REPLACE "\"database\": \"DB2\"" "\"database\": \"DB1\"" json "${json}")
run_in(0 db2 dump DB1 --json)
expect_equal("${OUT}" "${json}")
# The schema files name their database; the table files are the same.
expect_same_files(${WORK}/db2/DB2 ${WORK}/db2/DB1 GLOB)

# Refused models: the problem with its JSON path (or line and column), exit 2, nothing written.
function(refused text message)
  file(WRITE ${WORK}/bad.json "${text}")
  file(GLOB before RELATIVE ${WORK}/db2 LIST_DIRECTORIES true ${WORK}/db2/*)
  run_in(2 db2 import NEW bad.json)
  expect_equal("${ERR}" "morva-cli: bad.json: ${message}\n")
  run_in(2 db2 import DB1 bad.json --replace)
  file(GLOB after RELATIVE ${WORK}/db2 LIST_DIRECTORIES true ${WORK}/db2/*)
  expect_equal("${after}" "${before}")
endfunction()
set(col "{\"name\": \"ID\", \"dataType\": \"INTEGER\"}")
refused("{\"tables\": [\n  {\"name\": \"A\",}]}"
  "line 2, column 16: syntax error while parsing object key - unexpected '}'; expected string literal")
refused("{\"tables\": [{\"name\": \"A\", \"columns\": [${col}, {\"name\": \"id\"}]}]}"
  "$.tables[0].columns[1].name: duplicate column \"id\"")
refused("{\"tables\": [{\"name\": \"A\"}, {\"name\": \"B\", \"references\": [{\"master\": \"C\", \"pairs\": []}]}]}"
  "$.tables[1].references[0].master: unknown table \"C\" (--keep-dangling keeps such a reference)")
refused("{\"tables\": [{\"name\": \"A\", \"columns\": [${col}], \"references\": [{\"master\": \"A\", \"pairs\": [{\"masterColumn\": \"ID\", \"localColumn\": \"X\"}]}]}]}"
  "$.tables[0].references[0].pairs[0].localColumn: table \"A\" has no column \"X\" (--keep-dangling keeps such a reference)")
refused("{\"tables\": [{\"name\": \"A\", \"columns\": [{\"name\": \"ID\", \"length\": 4294967296}]}]}"
  "$.tables[0].columns[0].length: 4294967296 is out of range (-2147483648 to 2147483647)")
refused("{\"tables\": [{\"name\": \"A\"}], \"schemas\": [{\"name\": \"S\", \"tables\": [{\"name\": \"B\"}]}]}"
  "$.schemas[0].tables[0].name: unknown table \"B\"")

# Bad usage: a missing file, a name that would leave the database folder.
run_in(2 db2 import NEW missing.json)
expect_equal("${ERR}" "morva-cli: missing.json: cannot read the JSON file\n")
run_in(2 db2 import .. DB1.json)
run_in(2 db2 import NEW)
run_in(0 db2 import --help)
if(NOT OUT MATCHES "usage: morva-cli import DB FILE.json")
  message(FATAL_ERROR "bad import help: ${OUT}")
endif()
