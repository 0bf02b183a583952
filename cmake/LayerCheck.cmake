# SPDX-License-Identifier: GPL-3.0-or-later
# Runs the layer check before anything is compiled: every target of the project depends on it, so
# an include that runs upward fails the build at once, whichever target the developer builds.
# Include this file last, after every folder has been added.
file(GLOB_RECURSE layer_check_inputs CONFIGURE_DEPENDS
     ${PROJECT_SOURCE_DIR}/*/*.h ${PROJECT_SOURCE_DIR}/*/*.cpp ${PROJECT_SOURCE_DIR}/*/*.in)
list(FILTER layer_check_inputs EXCLUDE REGEX "^${PROJECT_BINARY_DIR}/|/build[^/]*/")
set(layer_check_stamp ${PROJECT_BINARY_DIR}/layer_check.stamp)
add_custom_command(
  OUTPUT ${layer_check_stamp}
  COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${PROJECT_SOURCE_DIR} -DSTAMP=${layer_check_stamp}
          -P ${PROJECT_SOURCE_DIR}/cmake/check_layers.cmake
  DEPENDS ${layer_check_inputs} ${PROJECT_SOURCE_DIR}/cmake/check_layers.cmake
  COMMENT "Checking that includes run down the layers"
  VERBATIM)
add_custom_target(layer_check ALL DEPENDS ${layer_check_stamp})

# Every target of every folder waits for the check (a target that compiles nothing of a checked
# folder waits a few milliseconds, once).
function(wheelwatcher_targets_wait_for_layer_check directory)
  get_property(targets DIRECTORY ${directory} PROPERTY BUILDSYSTEM_TARGETS)
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    if(NOT target STREQUAL "layer_check" AND NOT type STREQUAL "INTERFACE_LIBRARY")
      add_dependencies(${target} layer_check)
    endif()
  endforeach()
  get_property(subdirectories DIRECTORY ${directory} PROPERTY SUBDIRECTORIES)
  foreach(subdirectory IN LISTS subdirectories)
    wheelwatcher_targets_wait_for_layer_check(${subdirectory})
  endforeach()
endfunction()
wheelwatcher_targets_wait_for_layer_check(${PROJECT_SOURCE_DIR})
