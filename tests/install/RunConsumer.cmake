# cmake -DBUILD_DIR=... -DCONSUMER_SOURCE=... -DWORK_DIR=... -DCONFIG_FILE=... -P RunConsumer.cmake
file(REMOVE_RECURSE ${WORK_DIR})
set(PREFIX ${WORK_DIR}/prefix)
set(RUN_DIR ${WORK_DIR}/run)
file(MAKE_DIRECTORY ${RUN_DIR})

function(run)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "failed (${result}): ${ARGN}")
    endif()
endfunction()

run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX})

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
run(${CMAKE_COMMAND} -S ${CONSUMER_SOURCE} -B ${WORK_DIR}/build -DCMAKE_PREFIX_PATH=${PREFIX})
run(${CMAKE_COMMAND} --build ${WORK_DIR}/build)

# The program runs twice, as two processes, so the second reads what the first stored.
file(COPY ${CONFIG_FILE} DESTINATION ${RUN_DIR})
set(ENV{XDG_DATA_HOME} ${WORK_DIR}/data)
set(ENV{LD_LIBRARY_PATH} ${PREFIX}/lib:${PREFIX}/lib64)
execute_process(COMMAND ${WORK_DIR}/build/consumer store
    WORKING_DIRECTORY ${RUN_DIR} RESULT_VARIABLE stored)
if(NOT stored EQUAL 0)
    message(FATAL_ERROR "consumer store failed: ${stored}")
endif()
execute_process(COMMAND ${WORK_DIR}/build/consumer check
    WORKING_DIRECTORY ${RUN_DIR} RESULT_VARIABLE checked)
if(NOT checked EQUAL 0)
    message(FATAL_ERROR "consumer check failed: ${checked}")
endif()
