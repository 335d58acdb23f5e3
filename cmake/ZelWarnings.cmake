# Warnings for the project's own targets; third-party headers come in as system includes.
function(zel_set_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wnon-virtual-dtor -Woverloaded-virtual)
    if(ZELMW_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()

# The stricter Qt the library's own code is written for: no implicit conversions from char
# strings, no Q_FOREACH, string concatenation through QStringBuilder. Private, so that
# applications built on the library keep their own choice.
function(zel_set_library_defaults target)
    zel_set_warnings(${target})
    target_compile_definitions(${target} PRIVATE
        QT_NO_CAST_FROM_ASCII QT_NO_FOREACH QT_USE_QSTRINGBUILDER)
endfunction()
