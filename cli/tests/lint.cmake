# morva-cli lint: the finding format, the exit statuses and the check options.
include(${CMAKE_CURRENT_LIST_DIR}/../../cmake/CliTestHelpers.cmake)

file(MAKE_DIRECTORY ${WORK})
file(WRITE ${WORK}/slips.tpx "<TEXT>\n<VAR> n </VAR>\n<COLUMS>\n<CLOSE>\n</TEXT>\n")
file(WRITE ${WORK}/clean.tpx "<TEXT>\n<TABLES><T>\n</TABLES>\n</TEXT>\n")
file(WRITE ${WORK}/silenced.tpx
  "<TEXT>\n<COMMENT> lint: ignore near-miss-tag\n<COLUMS>\n</TEXT>\n")

run(0 lint ${WORK}/clean.tpx ${SOURCE_DIR}/samples/cpp_header.tpx)
expect_equal("${OUT}" "")

run(1 lint ${WORK}/clean.tpx ${WORK}/slips.tpx)
expect_equal("${OUT}"
"${WORK}/slips.tpx:2:7: warning: variable n is declared but never used [unused-variable]
${WORK}/slips.tpx:3:1: warning: not a tag: <COLUMS> is copied as text; did you mean <COLUMNS>? [near-miss-tag]
${WORK}/slips.tpx:4:1: warning: <CLOSE> with no file open does nothing [close-without-create]
")

run(1 lint --check near-miss-tag --check close-without-create ${WORK}/slips.tpx)
expect_match("${OUT}" "near-miss-tag")
expect_match("${OUT}" "close-without-create")
if(OUT MATCHES "unused-variable")
  message(FATAL_ERROR "--check ran another check: ${OUT}")
endif()
run(0 lint --ignore unused-variable --ignore near-miss-tag --ignore close-without-create
  ${WORK}/slips.tpx)
run(0 lint ${WORK}/silenced.tpx)

# Bad usage: no script, an unknown check (named with the known ones), a missing value, an
# unreadable script.
run(2 lint)
run(2 lint --check nearmiss ${WORK}/clean.tpx)
expect_match("${ERR}" "unknown check nearmiss \\(checks: near-miss-tag, markup-clash,")
run(2 lint ${WORK}/clean.tpx --ignore)
run(2 lint ${WORK}/missing.tpx)
run(2 lint ${WORK})
run(2 lint --strict ${WORK}/clean.tpx)
run(0 lint --help)
expect_match("${OUT}" "usage: morva-cli lint ")
