# Installs every public header below SOURCE_ROOT/SUBDIR, keeping the folder layout, so that
# installed consumers write the same includes as the code in the tree. Private headers (_p.h)
# stay behind.
function(zel_install_headers source_root subdir)
    install(DIRECTORY ${source_root}/${subdir}
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}
        FILES_MATCHING PATTERN "*.h"
        PATTERN "*_p.h" EXCLUDE)
endfunction()
