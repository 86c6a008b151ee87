# Runs `hlvtool check` over a folder of real LightWave content and compares
# its survey with the one expected. Skipped, with a message, where the
# folder is not there (a clone without the corpus).
#   -DTOOL=hlvtool -DCORPUS=folder -DEXPECTED=file -DACTUAL=file written for a look or an update
if(NOT IS_DIRECTORY "${CORPUS}")
  message("corpus test skipped: no LightWave corpus at ${CORPUS} (set SKYDRIFT_LIGHTWAVE_CORPUS)")
  return()
endif()
execute_process(COMMAND "${TOOL}" check "${CORPUS}" OUTPUT_FILE "${ACTUAL}" RESULT_VARIABLE status)
execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${EXPECTED}" "${ACTUAL}" RESULT_VARIABLE differs)
if(differs)
  execute_process(COMMAND diff -u "${EXPECTED}" "${ACTUAL}" OUTPUT_VARIABLE difference)
  message(FATAL_ERROR "The survey of ${CORPUS} differs from ${EXPECTED} "
                      "(the survey is in ${ACTUAL}; copy it over the expectation once every difference is "
                      "understood):\n${difference}")
endif()
file(STRINGS "${ACTUAL}" totals REGEX "files checked")
if(totals MATCHES " opened, 0 failed")
  set(expected_status 0)
else()
  set(expected_status 1)
endif()
if(NOT status EQUAL expected_status)
  message(FATAL_ERROR "hlvtool check exited with ${status}, expected ${expected_status} for: ${totals}")
endif()
