# Installs the build into a scratch prefix, then builds a program outside the tree against it, once
# with find_package(orvanthel) and once with pkg-config, and runs both.
# Run as: cmake -DSOURCE_DIR=<repository> -DBUILD_DIR=<build> -DWORK_DIR=<scratch> -P installed_package_test.cmake
set(prefix ${WORK_DIR}/installed-orvanthel)
set(consumer ${WORK_DIR}/consumer-build)
file(REMOVE_RECURSE ${prefix} ${consumer})

function(run_step what)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${what} failed (${status}):\n${out}\n${err}")
  endif()
  set(step_output "${out}" PARENT_SCOPE)
endfunction()

run_step("make install" ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})
foreach(installed include/orvanthel/orvanthel.hpp lib/cmake/orvanthel/orvanthelConfig.cmake lib/pkgconfig/orvanthel.pc)
  if(NOT EXISTS ${prefix}/${installed})
    message(FATAL_ERROR "the installation has no ${installed}")
  endif()
endforeach()

run_step("configuring the consumer" ${CMAKE_COMMAND} -S ${SOURCE_DIR}/tests/library/consumer -B ${consumer}
         -DCMAKE_PREFIX_PATH=${prefix})
run_step("building the consumer" ${CMAKE_COMMAND} --build ${consumer})
run_step("running the consumer" ${consumer}/consumer)
if(NOT step_output MATCHES "^cP 2\\.0000 62/62")
  message(FATAL_ERROR "the consumer found: ${step_output}")
endif()

set(ENV{PKG_CONFIG_PATH} ${prefix}/lib/pkgconfig)
run_step("pkg-config" pkg-config --cflags --libs orvanthel)
string(STRIP "${step_output}" flags)
separate_arguments(flags UNIX_COMMAND "${flags}")
run_step("building with pkg-config" c++ -std=c++17 ${SOURCE_DIR}/tests/library/consumer/consumer.cpp ${flags}
         -o ${WORK_DIR}/consumer-pkg-config)
set(ENV{LD_LIBRARY_PATH} ${prefix}/lib)
run_step("running the pkg-config consumer" ${WORK_DIR}/consumer-pkg-config)
if(NOT step_output MATCHES "^cP 2\\.0000")
  message(FATAL_ERROR "the pkg-config consumer found: ${step_output}")
endif()
