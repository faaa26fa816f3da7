# The measures: the estimators on synthetic captures, the window in-process,
# and the menu it joins.
ondav_add_suite(measure_tests measure LIBS ondavcore ondavres SERIAL)

# The real program under Xvfb, fed by the virtual microphone, its readouts
# read from outside by a small Win32 reader.
add_executable(ondav_readouts ${CMAKE_CURRENT_LIST_DIR}/readouts.c)
set_target_properties(ondav_readouts PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
if(TARGET ondav)
  add_test(NAME measure_e2e COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/e2e_measures.sh ${CMAKE_BINARY_DIR})
  set_tests_properties(measure_e2e PROPERTIES
    ENVIRONMENT "ONDAV_WINEPREFIX=${ONDAV_TEST_PREFIX};ONDAV_SOURCE_DIR=${CMAKE_SOURCE_DIR}"
    RESOURCE_LOCK display TIMEOUT 240)
endif()
