# morva_add_test(NAME SOURCES... LIBS ...): one GoogleTest binary registered in CTest.
function(morva_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "MORVA_SOURCE_DIR=${PROJECT_SOURCE_DIR}")
endfunction()
