# Warnings for the project's own targets; third-party headers come in as system includes.
function(zel_set_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wnon-virtual-dtor -Woverloaded-virtual)
    if(ZELMW_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()
