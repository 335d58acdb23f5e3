# Installs the CMake package "ZelMiddleware" so that an application writes
#   find_package(ZelMiddleware REQUIRED)
#   target_link_libraries(app ZelMiddleware::zelmw)
include(CMakePackageConfigHelpers)

set(ZEL_CMAKE_INSTALL_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/ZelMiddleware)

install(EXPORT ZelMiddlewareTargets
    NAMESPACE ZelMiddleware::
    DESTINATION ${ZEL_CMAKE_INSTALL_DIR})

configure_package_config_file(cmake/ZelMiddlewareConfig.cmake.in
    ${CMAKE_CURRENT_BINARY_DIR}/ZelMiddlewareConfig.cmake
    INSTALL_DESTINATION ${ZEL_CMAKE_INSTALL_DIR})
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/ZelMiddlewareConfigVersion.cmake
    COMPATIBILITY SameMajorVersion)
install(FILES
    ${CMAKE_CURRENT_BINARY_DIR}/ZelMiddlewareConfig.cmake
    ${CMAKE_CURRENT_BINARY_DIR}/ZelMiddlewareConfigVersion.cmake
    DESTINATION ${ZEL_CMAKE_INSTALL_DIR})
