# The installer's tests: GoogleTest on the real wizard, setupapi and registry,
# and end-to-end runs of ondavsetup.exe under Xvfb driven by xdotool.
ondav_add_suite(setup_tests setup LIBS ondavsetupcore version
  RESOURCES ${CMAKE_SOURCE_DIR}/resources/setup/ondavsetup.rc SERIAL)
if(TARGET setup_tests)
  # Its own folder: the program plays the installer's source folder.
  set_target_properties(setup_tests PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests/setup)
  add_dependencies(setup_tests setupdist)
  # Its folder is the staged source of the installs: one user at a time.
  set_tests_properties(setup_tests PROPERTIES RESOURCE_LOCK setup_stage)
endif()

if(TARGET setup_tests)
  # A folder link, made on the host: Wine's programs cannot make one.
  add_test(NAME setup_links
    COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/setup/links.sh ${CMAKE_SOURCE_DIR} $<TARGET_FILE:setup_tests>)
  set_tests_properties(setup_links PROPERTIES
    ENVIRONMENT "ONDAV_WINEPREFIX=${ONDAV_TEST_PREFIX};ONDAV_SOURCE_DIR=${CMAKE_SOURCE_DIR};ONDAV_BINARY_DIR=${CMAKE_BINARY_DIR}"
    RESOURCE_LOCK setup_stage TIMEOUT 300)
endif()

if(TARGET ondavsetup)
  add_test(NAME setup_e2e_wizard
    COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/setup/e2e_wizard.sh ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR})
  set_tests_properties(setup_e2e_wizard PROPERTIES
    ENVIRONMENT "ONDAV_WINEPREFIX=${ONDAV_TEST_PREFIX};ONDAV_SOURCE_DIR=${CMAKE_SOURCE_DIR};ONDAV_BINARY_DIR=${CMAKE_BINARY_DIR}"
    TIMEOUT 240)
endif()

if(TARGET setup_tests)
  # A full disk and a read-only one: small file systems mounted for them.
  add_test(NAME setup_mapped_drives
    COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/setup/mapped_drives.sh ${CMAKE_SOURCE_DIR} $<TARGET_FILE:setup_tests>)
  set_tests_properties(setup_mapped_drives PROPERTIES
    ENVIRONMENT "ONDAV_WINEPREFIX=${ONDAV_TEST_PREFIX};ONDAV_SOURCE_DIR=${CMAKE_SOURCE_DIR};ONDAV_BINARY_DIR=${CMAKE_BINARY_DIR}"
    RESOURCE_LOCK setup_stage SKIP_RETURN_CODE 77 TIMEOUT 300)
endif()

if(TARGET ondavsetup)
  # Start menu, Add/Remove Programs, and an uninstallation from the installed copy.
  add_test(NAME setup_e2e_entries
    COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/setup/e2e_entries.sh ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR})
  set_tests_properties(setup_e2e_entries PROPERTIES
    ENVIRONMENT "ONDAV_WINEPREFIX=${ONDAV_TEST_PREFIX};ONDAV_SOURCE_DIR=${CMAKE_SOURCE_DIR};ONDAV_BINARY_DIR=${CMAKE_BINARY_DIR}"
    TIMEOUT 300)
endif()

# The 32-bit installer as 64-bit Windows runs it (WOW64: the registry's 32-bit
# view, two program folders): the same checks in a 64-bit prefix.
if(TARGET setup_tests AND ONDAV_ARCH STREQUAL "i686")
  set(setup_wow64_env "ONDAV_WOW64=1;ONDAV_WINEPREFIX=${ONDAV_TEST_PREFIX};ONDAV_SOURCE_DIR=${CMAKE_SOURCE_DIR};ONDAV_BINARY_DIR=${CMAKE_BINARY_DIR}")
  add_test(NAME setup_tests_wow64
    COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/wine-run.sh $<TARGET_FILE:setup_tests>)
  add_test(NAME setup_links_wow64
    COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/setup/links.sh ${CMAKE_SOURCE_DIR} $<TARGET_FILE:setup_tests>)
  add_test(NAME setup_e2e_entries_wow64
    COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/setup/e2e_entries.sh ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR})
  set_tests_properties(setup_tests_wow64 setup_links_wow64 setup_e2e_entries_wow64 PROPERTIES
    ENVIRONMENT "${setup_wow64_env}" TIMEOUT 300)
  # The two that run the staged test program share its folder.
  set_tests_properties(setup_tests_wow64 setup_links_wow64 PROPERTIES RESOURCE_LOCK setup_stage)
endif()
