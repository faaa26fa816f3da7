ondav_add_suite(framework_tests framework LIBS ondavfw)
# The side-file clean-up beside a symbolic link that the system made.
add_test(NAME framework_side_links
         COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/links.sh ${CMAKE_BINARY_DIR}/tests/side-links
                 env ONDAV_ARCH=${ONDAV_ARCH} ${CMAKE_SOURCE_DIR}/scripts/wine-run.sh
                 $<TARGET_FILE:framework_tests> --gtest_filter=ReplacementFile.*)
set_tests_properties(framework_side_links PROPERTIES
  ENVIRONMENT "ONDAV_WINEPREFIX=${ONDAV_TEST_PREFIX}" TIMEOUT 120)
