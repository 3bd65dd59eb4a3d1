# cmake -DFILES="vantrel;libvantrel_app.so" -P check_no_web_engine.cmake
# Fails when the program or its application library needs the browser engine,
# directly or through a library of the program's own: the engine comes with
# the web module, loaded after the first paint.
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
    if(NOT needed MATCHES "Qt6Core|vantrel_")
        message(FATAL_ERROR "no library found in ${file}: the check reads nothing")
    endif()
endforeach()
