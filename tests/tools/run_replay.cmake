# Runs cvtelnet-replay once and compares its exit status, standard output and
# standard error with the expected ones.
#   REPLAY  the program           ARGS   its arguments, separated by |
#   INPUT   file for standard input (optional)
#   RC      expected exit status  OUT    file with the expected output (optional: empty)
#   OUT_RE  regular expression the whole standard output must match (instead of OUT)
#   ERR     regular expression the whole standard error must match
string(REPLACE "|" ";" args "${ARGS}")
if(INPUT)
  execute_process(COMMAND ${REPLAY} ${args} INPUT_FILE ${INPUT}
                  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
else()
  execute_process(COMMAND ${REPLAY} ${args} OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
endif()

set(expected "")
if(OUT)
  file(READ ${OUT} expected)
endif()
set(failed FALSE)
if(NOT rc STREQUAL RC)
  message(SEND_ERROR "exit status ${rc}, expected ${RC}")
endif()
if(OUT_RE)
  if(NOT out MATCHES "^${OUT_RE}$")
    message(SEND_ERROR "standard output does not match ^${OUT_RE}$:\n${out}")
  endif()
elseif(NOT out STREQUAL expected)
  message(SEND_ERROR "standard output differs.\n--- got:\n${out}--- expected:\n${expected}")
endif()
if(NOT err MATCHES "^${ERR}$")
  message(SEND_ERROR "standard error does not match ^${ERR}$:\n${err}")
endif()
