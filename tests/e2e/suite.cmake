# End-to-end checks of the real programs (bash + xdotool under Xvfb).
add_test(NAME e2e_spine COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/spine.sh
         ${ONDAV_DIST_DIR} ${CMAKE_BINARY_DIR}/artifacts/spine)
set_tests_properties(e2e_spine PROPERTIES
  ENVIRONMENT "ONDAV_WINEPREFIX=${ONDAV_TEST_PREFIX};ONDAV_SOURCE_DIR=${CMAKE_SOURCE_DIR}"
  TIMEOUT 240)
# The program that ships as users of 64-bit Windows run it (WOW64): start-up,
# save and reopening again. Capture, printing and the in-process suite have
# their own "_wow64" twins.
if(ONDAV_ARCH STREQUAL "i686")
  add_test(NAME e2e_spine_wow64 COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/spine.sh
           ${ONDAV_DIST_DIR} ${CMAKE_BINARY_DIR}/artifacts/spine-wow64)
  set_tests_properties(e2e_spine_wow64 PROPERTIES
    ENVIRONMENT "ONDAV_WOW64=1;ONDAV_WINEPREFIX=${ONDAV_TEST_PREFIX};ONDAV_SOURCE_DIR=${CMAKE_SOURCE_DIR}"
    TIMEOUT 300)
endif()

# The programs are GUI programs of this build's architecture; the i686 ones
# are what ships.
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
  set(ondav_pe_kind "PE32 executable (GUI) Intel 80386")
else()
  set(ondav_pe_kind "PE32+ executable (GUI) x86-64")
endif()
# ... and ships stripped: no symbol table, no debug sections.
add_test(NAME deliverable_is_pe_gui
         COMMAND sh -c "for p in ondav ondavsetup; do f=\"${ONDAV_DIST_DIR}/$p.exe\"; file \"$f\" | grep -q '${ondav_pe_kind}' || { echo \"$p.exe is not ${ondav_pe_kind}\"; exit 1; }; ${CMAKE_OBJDUMP} -h -t \"$f\" | grep -q 'debug_\\|(scl' && { echo \"$p.exe is not stripped\"; exit 1; }; done; true")

# The toolbar moved by real drags: docked on each side, floating, docked back.
add_executable(ondav_wininfo ${CMAKE_CURRENT_SOURCE_DIR}/e2e/wininfo.cpp)
set_target_properties(ondav_wininfo PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
add_test(NAME e2e_toolbar COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/toolbar.sh
         ${ONDAV_DIST_DIR} ${CMAKE_BINARY_DIR}/tests/ondav_wininfo.exe ${CMAKE_BINARY_DIR}/artifacts/toolbar)
set_tests_properties(e2e_toolbar PROPERTIES
  ENVIRONMENT "ONDAV_WINEPREFIX=${ONDAV_TEST_PREFIX};ONDAV_SOURCE_DIR=${CMAKE_SOURCE_DIR}"
  TIMEOUT 240)

# The locale the scripts run Wine under lets it name files with « é ».
add_test(NAME wine_accented_name COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/accented_name.sh
         ${CMAKE_BINARY_DIR}/tests/accented-name)
set_tests_properties(wine_accented_name PROPERTIES
  ENVIRONMENT "ONDAV_SOURCE_DIR=${CMAKE_SOURCE_DIR}" TIMEOUT 120)

# scripts/run.sh given a Linux file name, on a desktop and on its own Xvfb.
if(TARGET ondav)
  add_test(NAME run_script_e2e COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/run_script.sh ${CMAKE_BINARY_DIR})
  set_tests_properties(run_script_e2e PROPERTIES ENVIRONMENT "ONDAV_SOURCE_DIR=${CMAKE_SOURCE_DIR}" TIMEOUT 180)
endif()
