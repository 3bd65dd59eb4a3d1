# cmake -DBUILD=<build folder> -DOUT=<folder to make it in> -DCPACK=<cpack>
#       -P check_package.cmake
# Makes the Debian package of the build (cpack -G DEB, into OUT rather than
# the build folder) and checks it: lintian finds no error and no warning, no
# maintainer script runs ldconfig for the program's private libraries, and
# the changelog's latest entry is the package's version.
find_program(LINTIAN lintian)
find_program(DPKG_DEB dpkg-deb)
find_program(GZIP_PROGRAM gzip)
if(NOT LINTIAN OR NOT DPKG_DEB OR NOT GZIP_PROGRAM)
    message(FATAL_ERROR "lintian, dpkg-deb and gzip check the package: tools/dev.sh installs them")
endif()

file(REMOVE_RECURSE ${OUT})
file(MAKE_DIRECTORY ${OUT})
execute_process(
    COMMAND ${CPACK} -G DEB --config ${BUILD}/CPackConfig.cmake -B ${OUT}
    WORKING_DIRECTORY ${OUT}
    RESULT_VARIABLE failed OUTPUT_VARIABLE output ERROR_VARIABLE output)
file(GLOB packages ${OUT}/*.deb)
list(LENGTH packages count)
if(failed OR NOT count EQUAL 1)
    message(FATAL_ERROR "cpack made no package:\n${output}")
endif()

# Nothing runs at install or removal: the desktop's databases and caches are
# updated by their own packages' triggers.
execute_process(COMMAND ${DPKG_DEB} --control ${packages} ${OUT}/control RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "dpkg-deb cannot read the package's control files")
endif()
foreach(script preinst postinst prerm postrm triggers shlibs)
    if(EXISTS ${OUT}/control/${script})
        file(READ ${OUT}/control/${script} text)
        message(FATAL_ERROR "the package has a ${script} control file:\n${text}")
    endif()
endforeach()

execute_process(COMMAND ${DPKG_DEB} --field ${packages} Version
    OUTPUT_VARIABLE version OUTPUT_STRIP_TRAILING_WHITESPACE)
execute_process(COMMAND ${DPKG_DEB} --extract ${packages} ${OUT}/root RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "dpkg-deb cannot unpack the package")
endif()
execute_process(COMMAND ${GZIP_PROGRAM} -dc ${OUT}/root/usr/share/doc/vantrel/changelog.gz
    OUTPUT_VARIABLE changelog RESULT_VARIABLE failed)
string(REGEX MATCH "^vantrel \\(([^)]*)\\)" found "${changelog}")
if(failed OR NOT CMAKE_MATCH_1 STREQUAL version)
    message(FATAL_ERROR "the changelog's latest entry is not version ${version}: "
                        "add one to data/package/changelog")
endif()

execute_process(
    COMMAND ${LINTIAN} --fail-on error,warning ${packages}
    RESULT_VARIABLE failed OUTPUT_VARIABLE findings ERROR_VARIABLE findings)
if(failed)
    message(FATAL_ERROR "lintian finds fault with the package:\n${findings}")
endif()
message(STATUS "lintian:\n${findings}")
file(REMOVE_RECURSE ${OUT})
