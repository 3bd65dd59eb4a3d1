# cmake -DFILES="vantrel;libvantrel_app.so;..." -P check_start_libraries.cmake
# Fails when the program or a library it loads at start needs the browser
# engine or libcurl, directly or through a library of the program's own: the
# engine comes with the web module, loaded after the first paint, and libcurl
# is loaded by the first picture check.
foreach(file IN LISTS FILES)
    execute_process(COMMAND readelf -d ${file} OUTPUT_VARIABLE dynamic RESULT_VARIABLE failed)
    if(failed)
        message(FATAL_ERROR "cannot read ${file}")
    endif()
    string(REGEX MATCHALL "\\[lib[^]]+\\]" needed "${dynamic}")
    message(STATUS "${file} needs: ${needed}")
    if(needed MATCHES "WebEngine" OR needed MATCHES "vantrel_web")
        message(FATAL_ERROR "${file} links the browser engine")
    endif()
    if(needed MATCHES "libcurl")
        message(FATAL_ERROR "${file} links libcurl")
    endif()
    if(NOT needed MATCHES "Qt6Core|vantrel_")
        message(FATAL_ERROR "no library found in ${file}: the check reads nothing")
    endif()
endforeach()
