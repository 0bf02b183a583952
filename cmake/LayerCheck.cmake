# SPDX-License-Identifier: GPL-3.0-or-later
# Runs the layer check as part of every build: an include that runs upward fails the build at
# once, whichever target the developer builds.
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
