# Run by cpack after it made the packages (CPACK_POST_BUILD_SCRIPTS).
# CPack's Debian generator gives any package with a library under lib/ a
# postinst and a postrm that only call ldconfig. Vantrel's libraries are
# private (lib/vantrel, found through the program's RPATH), so those calls
# are useless; each .deb is made again without those two scripts. A script
# that does anything else is kept.
find_program(DPKG_DEB dpkg-deb REQUIRED)

# The whole of a script CPack writes for ldconfig, whitespace aside.
function(only_ldconfig script result)
    file(READ ${script} text)
    string(REGEX REPLACE "[ \t\r\n]+" " " text "${text}")
    string(STRIP "${text}" text)
    if(text MATCHES "^#!/bin/sh set -e if \\[ \"\\$1\" = \"(configure|remove)\" \\]; then ldconfig fi$")
        set(${result} TRUE PARENT_SCOPE)
    else()
        set(${result} FALSE PARENT_SCOPE)
    endif()
endfunction()

foreach(package IN LISTS CPACK_PACKAGE_FILES)
    if(NOT package MATCHES "\\.deb$")
        continue()
    endif()
    set(tree ${package}.tree)
    file(REMOVE_RECURSE ${tree})
    execute_process(COMMAND ${DPKG_DEB} --raw-extract ${package} ${tree} RESULT_VARIABLE failed)
    if(failed)
        message(FATAL_ERROR "dpkg-deb could not open ${package}")
    endif()
    set(changed FALSE)
    foreach(script postinst postrm)
        if(EXISTS ${tree}/DEBIAN/${script})
            only_ldconfig(${tree}/DEBIAN/${script} useless)
            if(useless)
                file(REMOVE ${tree}/DEBIAN/${script})
                set(changed TRUE)
            endif()
        endif()
    endforeach()
    if(changed)
        execute_process(
            COMMAND ${DPKG_DEB} --root-owner-group -Z${CPACK_DEBIAN_COMPRESSION_TYPE} --build
                    ${tree} ${package}
            RESULT_VARIABLE failed OUTPUT_QUIET)
        if(failed)
            message(FATAL_ERROR "dpkg-deb could not make ${package} again")
        endif()
    endif()
    file(REMOVE_RECURSE ${tree})
endforeach()
