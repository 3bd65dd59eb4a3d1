# cmake -DBUILD=<build folder> -DPREFIX=<empty folder> -DSOURCE=<source folder>
#       -P check_install.cmake
# Installs the build into PREFIX and checks that the installed program finds
# its data there: the installed vantrel-render makes a page with the
# installed page template.
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${PREFIX}
    RESULT_VARIABLE failed OUTPUT_QUIET)
if(failed)
    message(FATAL_ERROR "cmake --install failed")
endif()

foreach(file
        bin/vantrel bin/vantrel-render bin/vantrel-doc bin/vantrel-check bin/vantrel-upload
        share/vantrel/Default.tmpl share/vantrel/Default.rbs share/vantrel/Entry.vdoc share/vantrel/fr_Entry.vdoc
        share/vantrel/Blank.html share/vantrel/en_export1.html share/vantrel/fr_export1.html
        share/vantrel/shared/sys.dft share/vantrel/shared/vtrlsrv.dft
        share/applications/net.vantrel.Vantrel.desktop share/metainfo/net.vantrel.Vantrel.metainfo.xml
        share/mime/packages/vantrel.xml share/icons/hicolor/scalable/apps/vantrel.svg
        share/icons/hicolor/48x48/apps/vantrel.png)
    if(NOT EXISTS ${PREFIX}/${file})
        message(FATAL_ERROR "missing from the install tree: ${file}")
    endif()
endforeach()
# The software centre finds the entry from the metainfo: the entry is named
# after the metainfo's id, and the metainfo is named after it too.
file(READ ${PREFIX}/share/metainfo/net.vantrel.Vantrel.metainfo.xml metainfo)
string(REGEX MATCH "<id>([^<]*)</id>" found "${metainfo}")
set(id "${CMAKE_MATCH_1}")
string(REGEX MATCH "<launchable type=\"desktop-id\">([^<]*)</launchable>" found "${metainfo}")
set(launchable "${CMAKE_MATCH_1}")
if(NOT id STREQUAL "net.vantrel.Vantrel" OR NOT launchable STREQUAL "${id}.desktop"
        OR NOT EXISTS ${PREFIX}/share/applications/${launchable})
    message(FATAL_ERROR "the metainfo's id \"${id}\" and launchable \"${launchable}\" do not name the installed entry")
endif()
# A manual page for every program in bin/.
file(GLOB programs RELATIVE ${PREFIX}/bin ${PREFIX}/bin/*)
foreach(program IN LISTS programs)
    if(NOT EXISTS ${PREFIX}/share/man/man1/${program}.1.gz)
        message(FATAL_ERROR "${program} has no manual page")
    endif()
endforeach()

# The examples and tutorials, each with its layout, and the pictures those
# layouts name, which the program copies into the user's images folder.
foreach(name HowItWorks DocTutor Simpledoc Doc_tables1 Doc_tables2 LayoutTutor
        Layout_Special1 Layout_Special2 PublishTutor AboutFiles)
    foreach(extension vdoc rbs)
        if(NOT EXISTS ${PREFIX}/share/vantrel/shared/Examples/${name}.${extension})
            message(FATAL_ERROR "missing from the install tree: the example ${name}.${extension}")
        endif()
    endforeach()
endforeach()
foreach(picture linen.jpg roses.png oak.jpg paper-band.png)
    if(NOT EXISTS ${PREFIX}/share/vantrel/images/Backgrounds/${picture})
        message(FATAL_ERROR "missing from the install tree: the layout picture ${picture}")
    endif()
endforeach()
foreach(library core http published widgets web app)
    file(GLOB found ${PREFIX}/lib*/vantrel/libvantrel_${library}.so*)
    if(NOT found)
        message(FATAL_ERROR "libvantrel_${library} is not installed in lib/vantrel")
    endif()
endforeach()
# The program loads its web module from the folder of its own libraries.
file(GLOB app_library ${PREFIX}/lib*/vantrel/libvantrel_app.so)
get_filename_component(library_folder "${app_library}" DIRECTORY)
if(NOT EXISTS ${library_folder}/libvantrel_web.so)
    message(FATAL_ERROR "the web module is not beside libvantrel_app in ${library_folder}")
endif()

# The installed tool, started from the prefix, with a home of its own.
set(work ${PREFIX}/work)
file(MAKE_DIRECTORY ${work}/home)
file(WRITE ${work}/item.html "<p>Clock</p>")
file(WRITE ${work}/shop.rbs "[OUTER]\r\nOBWidth=3\r\n")
execute_process(
    COMMAND ${CMAKE_COMMAND} -E env HOME=${work}/home XDG_DATA_HOME=${work}/home/data
            ${PREFIX}/bin/vantrel-render ${work}/item.html ${work}/shop.rbs -o ${work}/page.html
    RESULT_VARIABLE failed ERROR_VARIABLE errors)
if(failed)
    message(FATAL_ERROR "the installed vantrel-render failed: ${errors}")
endif()
file(READ ${work}/page.html page)
# The installed picture check loads its own library.
execute_process(COMMAND ${PREFIX}/bin/vantrel-check --help RESULT_VARIABLE status
    OUTPUT_QUIET ERROR_VARIABLE errors)
if(errors MATCHES "error while loading shared libraries")
    message(FATAL_ERROR "the installed vantrel-check cannot start: ${errors}")
endif()
execute_process(COMMAND ${PREFIX}/bin/vantrel-upload --help RESULT_VARIABLE status
    OUTPUT_QUIET ERROR_VARIABLE errors)
if(errors MATCHES "error while loading shared libraries")
    message(FATAL_ERROR "the installed vantrel-upload cannot start: ${errors}")
endif()
if(NOT page MATCHES "<p>Clock</p>" OR NOT page MATCHES "3px")
    message(FATAL_ERROR "the installed program made no page from its template:\n${page}")
endif()

# Without its web module the installed program still starts: it names the
# missing file and keeps running (here it waits at the message box until the
# time runs out) instead of failing to load or crashing.
file(REMOVE ${library_folder}/libvantrel_web.so)
file(MAKE_DIRECTORY ${work}/home-no-web)
execute_process(
    COMMAND ${CMAKE_COMMAND} -E env HOME=${work}/home-no-web
            XDG_DATA_HOME=${work}/home-no-web/data XDG_CONFIG_HOME=${work}/home-no-web/config
            QT_QPA_PLATFORM=offscreen
            ${PREFIX}/bin/vantrel
    TIMEOUT 8 RESULT_VARIABLE status OUTPUT_QUIET ERROR_VARIABLE errors)
if(NOT errors MATCHES "The web module \"[^\"]*libvantrel_web.so\" could not be loaded")
    message(FATAL_ERROR "the program without its web module did not say so:\n${errors}")
endif()
if(NOT status MATCHES "timeout|^0$")
    message(FATAL_ERROR "the program without its web module ended with: ${status}\n${errors}")
endif()
