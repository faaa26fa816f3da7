# The acquisition suite runs twice: once with a virtual microphone (an ALSA
# file PCM playing a signal the tests write), once with no recording device.
file(GLOB acq_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/acquisition/*.cpp)
add_executable(acquisition_tests ${acq_sources})
target_include_directories(acquisition_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(acquisition_tests PRIVATE ondavcore gtest gtest_main)
set_target_properties(acquisition_tests PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)

set(acq_vmic_dir ${CMAKE_BINARY_DIR}/tests/vmic)
file(MAKE_DIRECTORY ${acq_vmic_dir})
set(acq_signal ${acq_vmic_dir}/signal.raw)
file(WRITE ${acq_vmic_dir}/asound.conf
"pcm.vmic { type file slave { pcm { type null } } file \"/dev/null\" infile \"${acq_signal}\" format \"raw\" }
pcm.!default { type plug slave { pcm \"vmic\" format S16_LE rate 48000 channels 2 } }
")
file(WRITE ${acq_vmic_dir}/nodevice.conf "# no PCM at all: the machine has no recording device\n")

set(acq_env
  "ONDAV_WINEPREFIX=${ONDAV_TEST_PREFIX}"
  "ONDAV_SOURCE_DIR=${CMAKE_SOURCE_DIR}"
  "ONDAV_BINARY_DIR=${CMAKE_BINARY_DIR}")

add_test(NAME acquisition_vmic COMMAND acquisition_tests --gtest_filter=-NoDevice*)
set_tests_properties(acquisition_vmic PROPERTIES
  ENVIRONMENT "${acq_env};ALSA_CONFIG_PATH=${acq_vmic_dir}/asound.conf;ONDAV_VMIC_SIGNAL=Z:${acq_signal}"
  TIMEOUT 300)
# It times the frames of a measurement to within 80 ms: it takes two of
# ctest's slots, so that at most one other test runs beside it.
set_tests_properties(acquisition_vmic PROPERTIES PROCESSORS 2)

add_test(NAME acquisition_nodevice COMMAND acquisition_tests --gtest_filter=NoDevice*)
set_tests_properties(acquisition_nodevice PROPERTIES
  ENVIRONMENT "${acq_env};ALSA_CONFIG_PATH=${acq_vmic_dir}/nodevice.conf"
  TIMEOUT 300)

# The real program, driven through its menus and save dialog under Xvfb.
if(TARGET ondav)
  add_test(NAME acquisition_e2e
           COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/acquisition/e2e_capture.sh ${CMAKE_BINARY_DIR})
  set_tests_properties(acquisition_e2e PROPERTIES
    ENVIRONMENT "${acq_env}" TIMEOUT 180)
  if(ONDAV_ARCH STREQUAL "i686")
    add_test(NAME acquisition_e2e_wow64
             COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/acquisition/e2e_capture.sh ${CMAKE_BINARY_DIR})
    set_tests_properties(acquisition_e2e_wow64 PROPERTIES
      ENVIRONMENT "${acq_env};ONDAV_WOW64=1" TIMEOUT 240)
  endif()
endif()
