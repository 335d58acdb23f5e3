# Installs the public headers a subsystem names, to include/DESTINATION, and adds them to
# TARGET's sources. Only named headers are installed, so an internal header can never leak
# into the package by being forgotten; a _p.h in the list is a mistake and stops configuring.
#   zel_install_public_headers(TARGET DESTINATION header...)
function(zel_install_public_headers target destination)
    foreach(header IN LISTS ARGN)
        if(header MATCHES "_p\\.h$")
            message(FATAL_ERROR "${header} is internal and cannot be installed")
        endif()
    endforeach()
    target_sources(${target} PRIVATE ${ARGN})
    install(FILES ${ARGN} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/${destination})
endfunction()
