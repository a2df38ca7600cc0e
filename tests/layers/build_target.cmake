# cmake -DBUILD_DIR=... -DTARGET=... -DEXPECT=success|failure -P build_target.cmake
# Builds TARGET in BUILD_DIR. A failure is only the one expected when the
# compiler said that a header was not found, not for any other reason.
execute_process(
  COMMAND ${CMAKE_COMMAND} --build ${BUILD_DIR} --target ${TARGET}
  RESULT_VARIABLE result
  OUTPUT_VARIABLE output
  ERROR_VARIABLE output)
if(EXPECT STREQUAL "success")
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${TARGET} did not build:\n${output}")
  endif()
else()
  if(result EQUAL 0)
    message(FATAL_ERROR "${TARGET} built, although it includes a header of a higher floor")
  endif()
  if(NOT output MATCHES "stores/settings\\.h: No such file or directory")
    message(FATAL_ERROR "${TARGET} failed for another reason than the missing header:\n${output}")
  endif()
endif()
