# Runs the benchmark once on 100 lines and checks the figures line it ends with.
execute_process(
  COMMAND ${BENCH} --db ${DB} --lines 100 --reps 1 --large-reps 1 --gauge-steps 100 --ids 100
  OUTPUT_VARIABLE output
  RESULT_VARIABLE result)
message("${output}")
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the benchmark ended with ${result}")
endif()

string(STRIP "${output}" output)
string(REGEX REPLACE ".*\n" "" figures "${output}")
string(JSON lines ERROR_VARIABLE error GET "${figures}" sizes 0 lines)
if(error)
  message(FATAL_ERROR "the last line is no figures line (${error}):\n${figures}")
endif()
foreach(path "sizes;0;rows" "sizes;0;load;ratio" "sizes;0;import;ratio" "sizes;0;memory_kb;load_peak"
             "sizes;0;memory_kb;import_peak" "gauge;with_us_per_step")
  string(JSON value ERROR_VARIABLE error GET "${figures}" ${path})
  if(error OR NOT value GREATER 0)
    message(FATAL_ERROR "the figures line lacks a positive ${path} (${error}):\n${figures}")
  endif()
endforeach()
if(NOT lines EQUAL 100)
  message(FATAL_ERROR "the figures are for ${lines} lines, not 100")
endif()
