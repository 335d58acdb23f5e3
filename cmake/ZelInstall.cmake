# Installs a shared library into the package: named with the Qt major's suffix, versioned,
# exported as ZelMiddleware::TARGET, and pointing its users at the package's include folder.
#   zel_install_library(TARGET)
function(zel_install_library target)
    set_target_properties(${target} PROPERTIES
        OUTPUT_NAME ${target}${ZEL_LIBRARY_SUFFIX}
        VERSION ${PROJECT_VERSION}
        SOVERSION ${PROJECT_VERSION_MAJOR})
    target_include_directories(${target} INTERFACE
        $<INSTALL_INTERFACE:${ZEL_INSTALL_INCLUDEDIR}>)
    install(TARGETS ${target} EXPORT ${ZEL_PACKAGE_NAME}Targets
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
endfunction()

# Installs the public headers a subsystem names, to the package's include folder under
# DESTINATION, and adds them to TARGET's sources and to the reference documentation. Only named
# headers are installed, so an internal header can never leak into the package by being
# forgotten; a _p.h in the list is a mistake and stops configuring.
#   zel_install_public_headers(TARGET DESTINATION header...)
function(zel_install_public_headers target destination)
    foreach(header IN LISTS ARGN)
        if(header MATCHES "_p\\.h$")
            message(FATAL_ERROR "${header} is internal and cannot be installed")
        endif()
        get_filename_component(path ${header} ABSOLUTE)
        set_property(GLOBAL APPEND PROPERTY ZEL_PUBLIC_HEADERS ${path})
    endforeach()
    target_sources(${target} PRIVATE ${ARGN})
    install(FILES ${ARGN} DESTINATION ${ZEL_INSTALL_INCLUDEDIR}/${destination})
endfunction()
