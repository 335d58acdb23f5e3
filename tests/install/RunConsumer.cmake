# cmake -DPREFIX=... -DPACKAGES=PACKAGE[;PACKAGE] [-DBUILD_DIR=...] -DCONSUMER_SOURCE=...
#       -DWORK_DIR=... -DCONFIG_FILE=... -P RunConsumer.cmake
# Checks an installed prefix (BUILD_DIR, when given, is installed into it first): it holds
# exactly PACKAGES (the Qt 6 and the Qt 5 build side by side when both are named) and only
# public headers. A separate project that only knows find_package(PACKAGE) is built against
# each and run: the first package's program stores, every package's program then finds it, each
# as a process of its own, so one store serves both builds.
file(REMOVE_RECURSE ${WORK_DIR})
set(RUN_DIR ${WORK_DIR}/run)
file(MAKE_DIRECTORY ${RUN_DIR})

function(run)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "failed (${result}): ${ARGN}")
    endif()
endfunction()

if(BUILD_DIR)
    file(REMOVE_RECURSE ${PREFIX})
    run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX})
endif()

# Only public headers are installed, and none of them reaches for an internal one.
file(GLOB_RECURSE headers ${PREFIX}/include/*.h)
foreach(header IN LISTS headers)
    if(header MATCHES "_p\\.h$")
        message(FATAL_ERROR "internal header installed: ${header}")
    endif()
    file(STRINGS ${header} internal REGEX "#include.*_p\\.h")
    if(internal)
        message(FATAL_ERROR "${header} includes an internal header: ${internal}")
    endif()
endforeach()

file(GLOB installed RELATIVE ${PREFIX}/lib/cmake LIST_DIRECTORIES true ${PREFIX}/lib/cmake/*)
list(SORT installed)
set(expected ${PACKAGES})
list(SORT expected)
if(NOT installed STREQUAL expected)
    message(FATAL_ERROR "packages installed: \"${installed}\", expected \"${expected}\"")
endif()
# The installed tools find their libraries wherever the prefix is.
if(EXISTS ${PREFIX}/bin/zelmap)
    run(${PREFIX}/bin/zelmap --version)
endif()
if(EXISTS ${PREFIX}/bin/zelview)
    run(${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ${PREFIX}/bin/zelview --version)
endif()

file(COPY ${CONFIG_FILE} DESTINATION ${RUN_DIR})
set(ENV{XDG_DATA_HOME} ${WORK_DIR}/data)
set(ENV{LD_LIBRARY_PATH} ${PREFIX}/lib)
set(steps store check)
foreach(package IN LISTS PACKAGES)
    if(package MATCHES "Qt6$")
        set(qt_major 6)
    else()
        set(qt_major 5)
    endif()
    set(build ${WORK_DIR}/build-${package})
    run(${CMAKE_COMMAND} -S ${CONSUMER_SOURCE} -B ${build} -DCMAKE_PREFIX_PATH=${PREFIX}
        -DZEL_PACKAGE=${package} -DZEL_EXPECTED_QT_MAJOR=${qt_major})
    run(${CMAKE_COMMAND} --build ${build})
    foreach(step IN LISTS steps)
        execute_process(COMMAND ${build}/consumer ${step}
            WORKING_DIRECTORY ${RUN_DIR} RESULT_VARIABLE result)
        if(NOT result EQUAL 0)
            message(FATAL_ERROR "${package}: consumer ${step} failed: ${result}")
        endif()
    endforeach()
    set(steps check)
endforeach()
