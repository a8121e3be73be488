# vlp_add_module(<folder> [DEPS <targets>...]): a static library vlp_<folder> of every source
# in the folder; includes are written from the repository root ("text/cp1250.h").
function(vlp_add_module name)
  cmake_parse_arguments(M "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS
       ${PROJECT_SOURCE_DIR}/${name}/*.cpp ${PROJECT_SOURCE_DIR}/${name}/*.h)
  add_library(vlp_${name} STATIC ${sources})
  target_include_directories(vlp_${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(vlp_${name} PUBLIC ${M_DEPS})
endfunction()

# vlp_add_test_suite(<folder> LIBS <targets>... [ENV <var=value>...]): one GoogleTest
# executable test_<folder> of every source in tests/<folder>.
function(vlp_add_test_suite name)
  cmake_parse_arguments(T "" "" "LIBS;ENV" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${name}/*.cpp)
  if(NOT sources)
    return()
  endif()
  add_executable(test_${name} ${sources})
  set_target_properties(test_${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  target_link_libraries(test_${name} PRIVATE vlp_test_support ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  add_dependencies(test_${name} vlp_data)
  gtest_discover_tests(test_${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
                       PROPERTIES ENVIRONMENT "${T_ENV}")
endfunction()
