# make install: the programs, the shared library, its headers, a CMake package
# (find_package(orvanthel) gives orvanthel::orvanthel) and a pkg-config file (orvanthel.pc).
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

install(TARGETS orvanthel_library EXPORT orvanthelTargets
        LIBRARY DESTINATION lib
        INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/include/orvanthel DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(EXPORT orvanthelTargets NAMESPACE orvanthel:: DESTINATION lib/cmake/orvanthel)
configure_package_config_file(${CMAKE_SOURCE_DIR}/cmake/orvanthelConfig.cmake.in
                              ${CMAKE_BINARY_DIR}/orvanthelConfig.cmake
                              INSTALL_DESTINATION lib/cmake/orvanthel)
write_basic_package_version_file(${CMAKE_BINARY_DIR}/orvanthelConfigVersion.cmake
                                 COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/orvanthelConfig.cmake ${CMAKE_BINARY_DIR}/orvanthelConfigVersion.cmake
        DESTINATION lib/cmake/orvanthel)
configure_file(${CMAKE_SOURCE_DIR}/cmake/orvanthel.pc.in ${CMAKE_BINARY_DIR}/orvanthel.pc @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/orvanthel.pc DESTINATION lib/pkgconfig)
install(TARGETS orvanthel RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
foreach(tool orvanthel-import orvanthel-simulate)
  if(TARGET ${tool})
    install(TARGETS ${tool} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endforeach()
