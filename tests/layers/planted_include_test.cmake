# SPDX-License-Identifier: GPL-3.0-or-later
# The layer check against includes planted in a scratch copy of the sources: the copy as it is
# passes, and each planted include that runs against the layers fails it, naming the file.
# Run with: cmake -DSOURCE_DIR=<project> -DSCRATCH_DIR=<empty folder> -P planted_include_test.cmake
cmake_minimum_required(VERSION 3.25)

set(checked_folders engine systems table stats lab panels online platform app)
file(REMOVE_RECURSE "${SCRATCH_DIR}")
foreach(folder IN LISTS checked_folders)
  file(COPY "${SOURCE_DIR}/${folder}" DESTINATION "${SCRATCH_DIR}"
       FILES_MATCHING PATTERN "*.h" PATTERN "*.cpp" PATTERN "*.in")
endforeach()

function(run_check result_variable output_variable)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${SCRATCH_DIR} -P ${SOURCE_DIR}/cmake/check_layers.cmake
    RESULT_VARIABLE result ERROR_VARIABLE output OUTPUT_VARIABLE output)
  set(${result_variable} "${result}" PARENT_SCOPE)
  set(${output_variable} "${output}" PARENT_SCOPE)
endfunction()

run_check(result output)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the unchanged sources fail the check:\n${output}")
endif()

# Each row: the file that gets the include, then the header it includes.
set(planted_includes
  "engine/money.h                table/spin_tracker.h"
  "systems/betting_systems.cpp   stats/guardrails.h"
  "table/spin_tracker.cpp        panels/ticker_text.h"
  "stats/guardrails.cpp          table/spin_tracker.h"
  "panels/ticker_text.h          engine/money.h"
  "online/update_document.cpp    platform/settings_store.h"
  "platform/settings_store.cpp   app/main_dialog.h"
  "lab/lab_session.cpp           app/main_dialog.h"
  "lab/replay.cpp                platform/journal_store.h")
foreach(row IN LISTS planted_includes)
  string(REGEX MATCHALL "[^ ]+" words "${row}")
  list(GET words 0 planted_file)
  list(GET words 1 header)
  set(path "${SCRATCH_DIR}/${planted_file}")
  if(NOT EXISTS "${path}")
    message(FATAL_ERROR "${planted_file} no longer exists; choose another file for this row")
  endif()
  file(READ "${path}" original)
  file(APPEND "${path}" "#include \"${header}\"\n")
  run_check(result output)
  file(WRITE "${path}" "${original}")
  if(result EQUAL 0)
    message(SEND_ERROR "${planted_file} including ${header} passed the check")
  elseif(NOT output MATCHES "${planted_file}: #include \"${header}\"")
    message(SEND_ERROR "the check of ${planted_file} including ${header} did not name it:\n${output}")
  endif()
endforeach()
file(REMOVE_RECURSE "${SCRATCH_DIR}")
