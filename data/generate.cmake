# The server list: readable in data/source, stored with every value shifted
# by the program's server-list key, in the shipped shared data.
set(server_list_source ${CMAKE_CURRENT_SOURCE_DIR}/source/vtrlsrv.ini)
set(server_list ${VANTREL_BIN_DIR}/shared/vtrlsrv.dft)
add_custom_command(OUTPUT ${server_list}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${VANTREL_BIN_DIR}/shared
    COMMAND vantrel-shift ini server ${server_list_source} ${server_list}
    DEPENDS vantrel-shift ${server_list_source}
    VERBATIM)
list(APPEND generated ${server_list})

# The page template: readable UTF-8 in data/source, stored beside the
# program as one shifted line of Windows-1252.
set(page_template_source ${CMAKE_CURRENT_SOURCE_DIR}/source/Default.tmpl.html)
set(page_template ${VANTREL_BIN_DIR}/Default.tmpl)
add_custom_command(OUTPUT ${page_template}
    COMMAND vantrel-shift utf8 template ${page_template_source} ${page_template}
    DEPENDS vantrel-shift ${page_template_source}
    VERBATIM)
list(APPEND generated ${page_template})
