# The real application object, started in-process, inspected through Win32.
file(GLOB app_test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/app/*.cpp)
# The program's state at start is checked before any test changes it: the
# start-up tests come first in the one unit the suite is compiled as.
list(REMOVE_ITEM app_test_sources ${CMAKE_CURRENT_SOURCE_DIR}/app/StartupTest.cpp)
list(PREPEND app_test_sources ${CMAKE_CURRENT_SOURCE_DIR}/app/StartupTest.cpp)
add_executable(app_tests ${app_test_sources} ${CMAKE_SOURCE_DIR}/app/OndavApp.cpp
                         ${CMAKE_CURRENT_SOURCE_DIR}/reliability/harness.cpp)
target_include_directories(app_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/reliability)
target_link_libraries(app_tests PRIVATE ondavcore ondavres winspool gtest gtest_main)
set_target_properties(app_tests PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
add_test(NAME app_tests COMMAND app_tests)
set_tests_properties(app_tests PROPERTIES
  ENVIRONMENT "ONDAV_WINEPREFIX=${ONDAV_TEST_PREFIX};ONDAV_SOURCE_DIR=${CMAKE_SOURCE_DIR}"
  TIMEOUT 300)
if(ONDAV_ARCH STREQUAL "i686")
  add_test(NAME app_tests_wow64 COMMAND app_tests)
  set_tests_properties(app_tests_wow64 PROPERTIES
    ENVIRONMENT "ONDAV_WOW64=1;ONDAV_WINEPREFIX=${ONDAV_TEST_PREFIX};ONDAV_SOURCE_DIR=${CMAKE_SOURCE_DIR}"
    TIMEOUT 400)
endif()
