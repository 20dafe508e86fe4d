# The template library over a database with awkward names, checked by each language's own
# compiler or checker. STEP=generate compiles the database, makes the schema and runs every
# template into WORK/out (the other steps need it); STEP=<language> checks one output.
# A missing compiler fails the step: the library is only as good as the checks it passes.
include(${CMAKE_CURRENT_LIST_DIR}/../../cmake/CliTestHelpers.cmake)

function(need var program)
  find_program(${var} ${program} PATHS /usr/bin NO_DEFAULT_PATH)
  find_program(${var} ${program})
  if(NOT ${var})
    message(FATAL_ERROR "${program} is missing: install it (scripts/setup-deps)")
  endif()
endfunction()

# check(WHAT COMMAND...): runs the command in WORK; fails with its output unless it exits 0
# without writing to standard error.
function(check what)
  execute_process(COMMAND ${ARGN} WORKING_DIRECTORY ${WORK}
    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0 OR NOT err STREQUAL "")
    message(FATAL_ERROR "${what} (exit ${rc}):\n${out}${err}")
  endif()
  set(OUT "${out}" PARENT_SCOPE)
endfunction()

set(OUTDIR ${WORK}/out)
set(CLI_OPTIONS --database-dir ${WORK}/db --output-dir ${OUTDIR})

if(STEP STREQUAL "generate")
  file(REMOVE_RECURSE ${WORK})
  file(MAKE_DIRECTORY ${WORK})
  run(0 sql --dialect auto AWK ${CMAKE_CURRENT_LIST_DIR}/awkward.sql)
  run(0 sql AWK ${CMAKE_CURRENT_LIST_DIR}/awkward_classic.sql)
  run(0 schema create AWK All)
  file(GLOB scripts ${TEMPLATES}/*/*.tpx)
  list(LENGTH scripts count)
  if(count LESS 11)
    message(FATAL_ERROR "the library holds ${count} templates: ${scripts}")
  endif()
  # Every template is clean for the lint, and runs without a warning.
  run(0 lint ${scripts})
  expect_equal("${OUT}${ERR}" "")
  foreach(script ${scripts})
    run(0 run ${script} --db AWK --schema All --lf)
    expect_match("${OUT}" "0 Error,  0 Warning\n")
  endforeach()
  # Every template's folder says what it generates.
  foreach(script ${scripts})
    get_filename_component(folder ${script} DIRECTORY)
    if(NOT EXISTS ${folder}/README)
      message(FATAL_ERROR "${folder} has no README")
    endif()
  endforeach()
  return()
endif()

if(STEP STREQUAL "cpp")
  need(GXX g++)
  file(WRITE ${WORK}/use_cpp.cc "#include \"out/awk.h\"\nint main() {\n  awk::Class row{};\n  row.float_ = 1.5;\n  row.order = \"x\";\n  awk::Order order{};\n  return row.type + order.id + (row._2nd_value ? 1 : 0);\n}\n")
  check("g++ rejects the C++ header" ${GXX} -std=c++20 -fsyntax-only -Wall -Wextra -Werror use_cpp.cc)
  # A copy adapted as the manual says: a types.cpp beside it maps the project's own types,
  # the columns outside the key still become optional.
  file(MAKE_DIRECTORY ${WORK}/adapted)
  file(COPY ${TEMPLATES}/cpp_structs/structs.tpx DESTINATION ${WORK}/adapted)
  file(WRITE ${WORK}/adapted/types.cpp "# money in cents\nDECIMAL = std::int64_t\nGEOMETRY = std::vector<double>\n")
  run(0 run ${WORK}/adapted/structs.tpx --db AWK --schema All --output-dir ${WORK}/adapted/out)
  file(WRITE ${WORK}/use_adapted.cc "#include \"adapted/out/awk.h\"\n#include <type_traits>\nusing namespace awk;\nstatic_assert(std::is_same_v<decltype(T1::amount), std::optional<std::int64_t>>);\nstatic_assert(std::is_same_v<decltype(T1::shape), std::optional<std::vector<double>>>);\nstatic_assert(std::is_same_v<decltype(T1::day), std::chrono::year_month_day>);\nstatic_assert(std::is_same_v<decltype(Class::big_count), std::optional<std::int64_t>>);\n")
  check("g++ rejects the adapted C++ header" ${GXX} -std=c++20 -fsyntax-only -Wall -Werror use_adapted.cc)
elseif(STEP STREQUAL "csharp")
  need(MCS mcs)
  execute_process(COMMAND ${MCS} -target:library -warnaserror+ -out:${WORK}/awk.dll ${OUTDIR}/Awk.cs
    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "mcs rejects the C# classes:\n${out}${err}")
  endif()
elseif(STEP STREQUAL "java")
  need(JAVAC javac)
  file(GLOB sources ${OUTDIR}/*.java)
  check("javac rejects the Java records" ${JAVAC} -Xlint:all -Werror -d ${WORK}/classes ${sources})
elseif(STEP STREQUAL "typescript")
  need(TSC tsc)
  check("tsc rejects the TypeScript interfaces" ${TSC} --noEmit --strict ${OUTDIR}/awk.ts)
elseif(STEP STREQUAL "go")
  need(GO go)
  file(MAKE_DIRECTORY ${WORK}/go/awk)
  file(WRITE ${WORK}/go/go.mod "module example.com/awk\n\ngo 1.19\n")
  file(COPY ${OUTDIR}/awk.go DESTINATION ${WORK}/go/awk)
  set(ENV{GOCACHE} ${WORK}/go/cache)
  set(ENV{GOPATH} ${WORK}/go/path)
  set(ENV{GOFLAGS} -mod=mod)
  set(ENV{GO111MODULE} on)
  set(ENV{GOTOOLCHAIN} local)
  execute_process(COMMAND ${GO} vet ./awk WORKING_DIRECTORY ${WORK}/go
    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "go vet rejects the Go structs:\n${out}${err}")
  endif()
elseif(STEP STREQUAL "python")
  need(PYTHON python3)
  check("python3 rejects the dataclasses" ${PYTHON} -c "
import sys, py_compile
sys.dont_write_bytecode = True
py_compile.compile('out/awk_model.py', cfile='awk_model.pyc', doraise=True)
sys.path.insert(0, 'out')
import awk_model as m
row = m.Class(*([None] * len(m.Class.__dataclass_fields__)))
assert '_2nd_value' in m.Class.__dataclass_fields__, m.Class.__dataclass_fields__
assert m.Select.__dataclass_fields__.keys() >= {'class_', 'in_', 'from_', 'import_'}
assert m.None_.__dataclass_fields__.keys() == {'true', 'match', 'await_', 'yield_'}
")
elseif(STEP STREQUAL "rust")
  need(RUSTC rustc)
  check("rustc rejects the Rust structs" ${RUSTC} --edition 2021 --crate-type lib -D warnings
    --out-dir ${WORK}/rust ${OUTDIR}/awk.rs)
elseif(STEP STREQUAL "html")
  file(READ ${OUTDIR}/awk.html html)
  # Labels, lookup items and names come out escaped; the page's own markup does not.
  expect_match("${html}" "<h2 id=\"class\">CLASS</h2>\n<div>&lt;main&gt; &amp; &quot;x&quot; class</div>")
  expect_match("${html}" "<td>Order &lt;b&gt;&quot;quoted&quot;&lt;/b&gt; &amp; &#39;single&#39;</td>")
  expect_match("${html}" "<td>A=Active &amp; &lt;on&gt;<br>I=Inactive</td>")
  if(html MATCHES "<main>|<on>|<b>")
    message(FATAL_ERROR "raw markup from a label in the HTML dictionary")
  endif()
  file(READ ${OUTDIR}/awk.md md)
  expect_match("${md}" "\n&lt;main&gt; &amp; &quot;x&quot; class\n")
  expect_match("${md}" "References SELECT by SEL_CLASS = SELECT.CLASS, SEL_IN = SELECT.IN.")
elseif(STEP STREQUAL "sqlite")
  need(SQLITE3 sqlite3)
  file(REMOVE ${WORK}/awk.db)
  check("sqlite3 does not load the SQLite script" ${SQLITE3} -bail awk.db ".read out/awk_sqlite.sql")
  check("reading the SQLite catalogue" ${SQLITE3} -separator " " awk.db
    "SELECT m.name, p.name, p.pk FROM sqlite_master m, pragma_table_info(m.name) p WHERE p.pk > 0 ORDER BY m.name, p.pk;"
    "SELECT m.name, f.\"from\", f.\"table\", f.\"to\" FROM sqlite_master m, pragma_foreign_key_list(m.name) f ORDER BY m.name, f.id, f.seq;"
    "SELECT count(*) FROM sqlite_master m, pragma_table_info(m.name) p;")
  expect_equal("${OUT}" "a b 1\nclass type 1\nlegacy k 1\nnone true 1\norder id 1\nselect class 1\nselect in 2\nself super 1\nt1 code 1\nt1 day 2\nt1_line code 1\nt1_line day 2\nt1_line no 3\norder sel_class select class\norder sel_in select in\nselect class class type\nself none a b\nt1_line code t1 code\nt1_line day t1 day\n62\n")
else()
  message(FATAL_ERROR "unknown step ${STEP}")
endif()
