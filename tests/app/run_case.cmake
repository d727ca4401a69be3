# Runs runtorva once in a fresh folder and checks its exit status and output.
#   RUNTORVA  the program           ARGS     its arguments, blank-separated
#   WORKDIR   folder to run in      EXIT     expected exit status
#   EXPECT    regex the output (stdout and stderr) must match
#   EXPECT2   a second such regex   FORBID   regex it must not match
#   PARFILE   copied to WORKDIR/torva.par first
#   GZIP      a file to compress into WORKDIR/compressed (named without .gz)
file(REMOVE_RECURSE "${WORKDIR}")
file(MAKE_DIRECTORY "${WORKDIR}")
if(PARFILE)
  configure_file("${PARFILE}" "${WORKDIR}/torva.par" COPYONLY)
endif()
if(GZIP)
  execute_process(COMMAND gzip -c "${GZIP}" OUTPUT_FILE "${WORKDIR}/compressed"
                  RESULT_VARIABLE gzip_status)
  if(NOT gzip_status EQUAL 0)
    message(FATAL_ERROR "gzip failed: ${gzip_status}")
  endif()
endif()
separate_arguments(arg_list UNIX_COMMAND "${ARGS}")
execute_process(COMMAND "${RUNTORVA}" ${arg_list} WORKING_DIRECTORY "${WORKDIR}"
                RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT status STREQUAL "${EXIT}")
  message(FATAL_ERROR "exit status ${status}, expected ${EXIT}; output:\n${out}")
endif()
foreach(regex IN ITEMS "${EXPECT}" "${EXPECT2}")
  if(regex AND NOT out MATCHES "${regex}")
    message(FATAL_ERROR "output does not match '${regex}':\n${out}")
  endif()
endforeach()
if(FORBID AND out MATCHES "${FORBID}")
  message(FATAL_ERROR "output matches '${FORBID}':\n${out}")
endif()
