# The installer's tests: GoogleTest on the real wizard, setupapi and registry,
# and end-to-end runs of ondavsetup.exe under Xvfb driven by xdotool.
ondav_add_suite(setup_tests setup LIBS ondavsetupcore
  RESOURCES ${CMAKE_SOURCE_DIR}/resources/setup/ondavsetup.rc SERIAL)
if(TARGET setup_tests)
  # Its own folder: the program plays the installer's source folder.
  set_target_properties(setup_tests PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests/setup)
  add_dependencies(setup_tests setupdist)
endif()
