# SPDX-License-Identifier: GPL-3.0-or-later
# Runs the generator into a scratch folder and fails unless every file it makes is byte for byte
# the committed one, so the committed resources always match their source.
file(REMOVE_RECURSE "${OUTPUT_DIR}")
execute_process(COMMAND "${ARTGEN}" "${OUTPUT_DIR}" RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the generator failed: ${result}")
endif()
file(GLOB_RECURSE made RELATIVE "${OUTPUT_DIR}" "${OUTPUT_DIR}/*")
list(LENGTH made count)
if(count EQUAL 0)
  message(FATAL_ERROR "the generator made no files")
endif()
foreach(name IN LISTS made)
  execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${OUTPUT_DIR}/${name}"
                          "${SOURCE_DIR}/${name}" RESULT_VARIABLE differs)
  if(NOT differs EQUAL 0)
    message(SEND_ERROR "${name} differs from the committed file; run the resources target")
  endif()
endforeach()
