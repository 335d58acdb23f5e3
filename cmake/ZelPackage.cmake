# Installs the CMake package, "ZelMiddlewareQt6" for the Qt 6 build and "ZelMiddleware" for the
# Qt 5 build, so that an application writes
#   find_package(ZelMiddlewareQt6 REQUIRED)   or   find_package(ZelMiddleware REQUIRED)
#   target_link_libraries(app ZelMiddleware::zelmw)
include(CMakePackageConfigHelpers)

set(ZEL_CMAKE_INSTALL_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/${ZEL_PACKAGE_NAME})

install(EXPORT ${ZEL_PACKAGE_NAME}Targets
    NAMESPACE ZelMiddleware::
    DESTINATION ${ZEL_CMAKE_INSTALL_DIR})

configure_package_config_file(cmake/ZelMiddlewareConfig.cmake.in
    ${CMAKE_CURRENT_BINARY_DIR}/${ZEL_PACKAGE_NAME}Config.cmake
    INSTALL_DESTINATION ${ZEL_CMAKE_INSTALL_DIR})
write_basic_package_version_file(
    ${CMAKE_CURRENT_BINARY_DIR}/${ZEL_PACKAGE_NAME}ConfigVersion.cmake
    COMPATIBILITY SameMajorVersion)
install(FILES
    ${CMAKE_CURRENT_BINARY_DIR}/${ZEL_PACKAGE_NAME}Config.cmake
    ${CMAKE_CURRENT_BINARY_DIR}/${ZEL_PACKAGE_NAME}ConfigVersion.cmake
    DESTINATION ${ZEL_CMAKE_INSTALL_DIR})
