# WAV and CSV exchange: the real document (the reliability suite's fixture and helpers),
# run by exchange.sh with sounds made by sox; the exports read back by sox and
# Python.
file(GLOB exchange_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/exchange/*.cpp)
add_executable(exchange_tests ${exchange_sources} ${CMAKE_CURRENT_SOURCE_DIR}/reliability/docs.cpp
                              ${CMAKE_CURRENT_SOURCE_DIR}/reliability/harness.cpp)
target_include_directories(exchange_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/reliability)
target_link_libraries(exchange_tests PRIVATE ondavcore ondavres gtest gtest_main)
set_target_properties(exchange_tests PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
add_test(NAME exchange_tests
         COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/exchange/exchange.sh ${CMAKE_BINARY_DIR})
set_tests_properties(exchange_tests PROPERTIES
  ENVIRONMENT "ONDAV_WINEPREFIX=${ONDAV_TEST_PREFIX};ONDAV_SOURCE_DIR=${CMAKE_SOURCE_DIR}"
  TIMEOUT 300)
