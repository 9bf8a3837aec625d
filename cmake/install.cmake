# Installing morlu: the library, main, the header, a CMake package
# (find_package(morlu CONFIG): morlu::morlu, morlu::main) and a pkg-config file
# (morlu: a whole program with its main), plus the demo programs.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set_target_properties(morlu_headers PROPERTIES EXPORT_NAME headers)
install(TARGETS morlu morlu_main morlu_headers EXPORT morluTargets
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/runtime/include/morlu/canvas.h
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/morlu)
if(TARGET morlu-bugs)
  set_target_properties(morlu-bugs morlu-headless PROPERTIES INSTALL_RPATH "$ORIGIN/../${CMAKE_INSTALL_LIBDIR}")
  install(TARGETS morlu-bugs morlu-headless RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

set(MORLU_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/morlu)
install(EXPORT morluTargets NAMESPACE morlu:: DESTINATION ${MORLU_CMAKE_DIR})
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/morluConfig.cmake.in
                              ${PROJECT_BINARY_DIR}/morluConfig.cmake INSTALL_DESTINATION ${MORLU_CMAKE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/morluConfigVersion.cmake
                                 COMPATIBILITY SameMinorVersion)
install(FILES ${PROJECT_BINARY_DIR}/morluConfig.cmake ${PROJECT_BINARY_DIR}/morluConfigVersion.cmake
        DESTINATION ${MORLU_CMAKE_DIR})

# The pkg-config file finds the prefix from its own place, so the installed
# tree can be moved (cmake --install --prefix DIR works too).
file(RELATIVE_PATH MORLU_PC_TO_PREFIX "/root/${CMAKE_INSTALL_LIBDIR}/pkgconfig" "/root")
configure_file(${PROJECT_SOURCE_DIR}/cmake/morlu.pc.in ${PROJECT_BINARY_DIR}/morlu.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/morlu.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
