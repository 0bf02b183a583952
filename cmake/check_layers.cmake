# SPDX-License-Identifier: GPL-3.0-or-later
# Fails when a source includes a header from a folder it may not use, so the arrows between the
# folders keep running one way. Run with: cmake -DSOURCE_DIR=<project> [-DSTAMP=<file>] -P check_layers.cmake
#
# Each line: a folder, then the folders its sources may include besides their own. Folders not
# listed here (tests, bench, tools) may include anything.
cmake_minimum_required(VERSION 3.25)

set(layer_rules
  "engine"
  "systems  engine"
  "table    engine systems"
  "panels"
  "online"
  "stats    engine systems"
  "lab      engine systems table stats"
  "platform engine systems table stats"
  "app      engine systems table stats lab panels online platform resources"
)

set(layered_folders "")
foreach(rule IN LISTS layer_rules)
  string(REGEX MATCHALL "[a-z_]+" words "${rule}")
  list(POP_FRONT words folder)
  list(APPEND layered_folders ${folder})
  set(allowed_${folder} ${folder} ${words})
endforeach()

set(violations 0)
foreach(folder IN LISTS layered_folders)
  file(GLOB_RECURSE sources "${SOURCE_DIR}/${folder}/*.h" "${SOURCE_DIR}/${folder}/*.cpp"
       "${SOURCE_DIR}/${folder}/*.in")
  foreach(source IN LISTS sources)
    file(STRINGS "${source}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[^/\"]+/")
    foreach(include IN LISTS includes)
      string(REGEX MATCH "\"([^/\"]+)/" unused "${include}")
      set(target_folder "${CMAKE_MATCH_1}")
      if(NOT target_folder IN_LIST allowed_${folder})
        file(RELATIVE_PATH shown "${SOURCE_DIR}" "${source}")
        list(JOIN allowed_${folder} ", " allowed)
        message(SEND_ERROR "${shown}: ${include} - ${folder}/ may include only: ${allowed}")
        math(EXPR violations "${violations} + 1")
      endif()
    endforeach()
  endforeach()
endforeach()

if(violations GREATER 0)
  message(FATAL_ERROR "${violations} include(s) run against the layers")
endif()
if(DEFINED STAMP)
  file(TOUCH "${STAMP}")
endif()
