# The layering check refuses a lower folder that includes a higher one and a folder table with a
# cycle, and accepts the real tree.
# Run as: cmake -DSOURCE_DIR=<repository> -DWORK_DIR=<scratch> -P check_layering_test.cmake
set(tree ${WORK_DIR}/layering_tree)
file(REMOVE_RECURSE ${tree})
file(WRITE ${tree}/src/geometry/upward.hpp "#include \"driver/run_indexing.hpp\"\n")
file(WRITE ${tree}/src/driver/run_indexing.hpp "#include \"geometry/upward.hpp\"\n")
execute_process(COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${tree} -P ${SOURCE_DIR}/cmake/CheckLayering.cmake
                RESULT_VARIABLE cycle ERROR_VARIABLE cycleMessage)
if(cycle EQUAL 0 OR NOT cycleMessage MATCHES "src/geometry/upward.hpp includes driver/")
  message(FATAL_ERROR "an upward include was not refused: ${cycleMessage}")
endif()
file(WRITE ${tree}/CyclicLayers.cmake "set(ORV_USES_geometry \"\")\nset(ORV_USES_solutions geometry search)\nset(ORV_USES_search solutions geometry)\nset(ORV_USES_driver search solutions geometry)\n")
file(REMOVE ${tree}/src/geometry/upward.hpp)
execute_process(COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${tree} -DLAYERS_FILE=${tree}/CyclicLayers.cmake
                        -P ${SOURCE_DIR}/cmake/CheckLayering.cmake
                RESULT_VARIABLE table ERROR_VARIABLE tableMessage)
if(table EQUAL 0 OR NOT tableMessage MATCHES "cycle: (solutions|search) reaches itself")
  message(FATAL_ERROR "a folder table with a cycle was not refused: ${tableMessage}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${SOURCE_DIR} -P ${SOURCE_DIR}/cmake/CheckLayering.cmake
                RESULT_VARIABLE real ERROR_VARIABLE realMessage)
if(NOT real EQUAL 0)
  message(FATAL_ERROR "the real tree was refused: ${realMessage}")
endif()
