# Printing on a real printer: a private CUPS server whose queue writes each job
# to a file (started by print_e2e.sh, which also runs print_tests under it).
file(GLOB print_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/print/*.cpp)
add_executable(print_tests ${print_sources} ${CMAKE_SOURCE_DIR}/app/OndavApp.cpp
                           ${CMAKE_CURRENT_SOURCE_DIR}/display/PageFixture.cpp)
target_include_directories(print_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(print_tests PRIVATE ondavcore ondavres gtest gtest_main)
set_target_properties(print_tests PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)

add_test(NAME print_e2e
         COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/print/print_e2e.sh ${CMAKE_BINARY_DIR})
set_tests_properties(print_e2e PROPERTIES
  ENVIRONMENT "ONDAV_WINEPREFIX=${ONDAV_TEST_PREFIX};ONDAV_SOURCE_DIR=${CMAKE_SOURCE_DIR}"
  TIMEOUT 300)
if(ONDAV_ARCH STREQUAL "i686")
  add_test(NAME print_e2e_wow64
           COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/print/print_e2e.sh ${CMAKE_BINARY_DIR})
  set_tests_properties(print_e2e_wow64 PROPERTIES
    ENVIRONMENT "ONDAV_WOW64=1;ONDAV_WINEPREFIX=${ONDAV_TEST_PREFIX};ONDAV_SOURCE_DIR=${CMAKE_SOURCE_DIR}"
    TIMEOUT 400)
endif()
