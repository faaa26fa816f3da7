# The help's topics, pictures and page layout, from the program's own resources.
ondav_add_suite(help_tests help LIBS ondavcore ondavres)

# The real program's help window, driven with the mouse and keys under Xvfb.
if(TARGET ondav)
  add_test(NAME help_e2e COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/e2e_help.sh ${CMAKE_BINARY_DIR})
  set_tests_properties(help_e2e PROPERTIES
    ENVIRONMENT "ONDAV_WINEPREFIX=${ONDAV_TEST_PREFIX};ONDAV_SOURCE_DIR=${CMAKE_SOURCE_DIR}"
    TIMEOUT 240)
endif()
