# Data files the build makes with the project's own tools. Each block appends
# its outputs to `generated`.

# The server list: readable in data/source, stored with every value shifted
# by the program's server-list key, in the shipped shared data.
set(server_list_source ${CMAKE_CURRENT_SOURCE_DIR}/source/vtrlsrv.ini)
if(VANTREL_PRODUCT_IMAGE_SERVERS)
    file(READ ${server_list_source} server_list_text)
    set(index 0)
    foreach(address IN LISTS VANTREL_PRODUCT_IMAGE_SERVERS)
        if(index GREATER 2)
            message(FATAL_ERROR "VANTREL_PRODUCT_IMAGE_SERVERS: at most three servers")
        endif()
        if(NOT address MATCHES "^https?://[^/]+/(.*/)?$")
            message(FATAL_ERROR "VANTREL_PRODUCT_IMAGE_SERVERS: \"${address}\" is no http(s) address ending with \"/\"")
        endif()
        string(APPEND server_list_text "s${index}=${address}\n")
        math(EXPR index "${index} + 1")
    endforeach()
    set(server_list_source ${CMAKE_CURRENT_BINARY_DIR}/vtrlsrv.ini)
    # Rewritten only when it changes, so the list is stored again only then.
    file(CONFIGURE OUTPUT ${server_list_source} CONTENT "${server_list_text}")
endif()
set(server_list ${VANTREL_BIN_DIR}/shared/vtrlsrv.dft)
add_custom_command(OUTPUT ${server_list}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${VANTREL_BIN_DIR}/shared
    COMMAND vantrel-shift ini server ${server_list_source} ${server_list}
    DEPENDS vantrel-shift ${server_list_source}
    VERBATIM)
list(APPEND generated ${server_list})

# The blank preview page is shipped in both folders; one source serves both.
set(shared_blank_page ${VANTREL_BIN_DIR}/shared/Blank.html)
add_custom_command(OUTPUT ${shared_blank_page}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${VANTREL_BIN_DIR}/shared
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${CMAKE_CURRENT_SOURCE_DIR}/program/Blank.html ${shared_blank_page}
    DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/program/Blank.html
    VERBATIM)
list(APPEND generated ${shared_blank_page})

# --- Welcome documents ------------------------------------------------------
# "Entry.vdoc", shown read-only at start-up, is built beside the program from
# the readable welcome page with vantrel-doc; "fr_Entry.vdoc" is its French
# counterpart, shown when the program is in French.
foreach(entry Entry fr_Entry)
    set(entry_source ${CMAKE_CURRENT_SOURCE_DIR}/source/${entry}.html)
    set(entry_output ${VANTREL_BIN_DIR}/${entry}.vdoc)
    add_custom_command(OUTPUT ${entry_output}
        COMMAND vantrel-doc import ${entry_source} ${entry_output}
        DEPENDS vantrel-doc ${entry_source}
        COMMENT "Building the welcome document ${entry}.vdoc"
        VERBATIM)
    list(APPEND generated ${entry_output})
endforeach()

# The page template: readable UTF-8 in data/source, stored beside the
# program as one shifted line of Windows-1252.
set(page_template_source ${CMAKE_CURRENT_SOURCE_DIR}/source/Default.tmpl.html)
set(page_template ${VANTREL_BIN_DIR}/Default.tmpl)
add_custom_command(OUTPUT ${page_template}
    COMMAND vantrel-shift utf8 template ${page_template_source} ${page_template}
    DEPENDS vantrel-shift ${page_template_source}
    VERBATIM)
list(APPEND generated ${page_template})

# --- Examples and tutorials -------------------------------------------------
# Each example is a document built from its readable page with vantrel-doc
# (its pictures embedded) and the layout of the same name beside it; both
# are shipped in the shared data's "Examples" folder, where the program
# opens them. The pictures their layouts name are in data/program/images.
set(example_names HowItWorks DocTutor Simpledoc Doc_tables1 Doc_tables2 LayoutTutor
    Layout_Special1 Layout_Special2 PublishTutor AboutFiles)
set(examples_source ${CMAKE_CURRENT_SOURCE_DIR}/source/examples)
file(GLOB example_pictures CONFIGURE_DEPENDS ${examples_source}/pictures/*.png)
set(examples_output ${VANTREL_BIN_DIR}/shared/Examples)
foreach(name IN LISTS example_names)
    add_custom_command(OUTPUT ${examples_output}/${name}.vdoc
        COMMAND ${CMAKE_COMMAND} -E make_directory ${examples_output}
        COMMAND vantrel-doc import ${examples_source}/${name}.html ${examples_output}/${name}.vdoc
        DEPENDS vantrel-doc ${examples_source}/${name}.html ${example_pictures}
        COMMENT "Building the example ${name}.vdoc"
        VERBATIM)
    add_custom_command(OUTPUT ${examples_output}/${name}.rbs
        COMMAND ${CMAKE_COMMAND} -E copy_if_different ${examples_source}/${name}.rbs
            ${examples_output}/${name}.rbs
        DEPENDS ${examples_source}/${name}.rbs
        VERBATIM)
    list(APPEND generated ${examples_output}/${name}.vdoc ${examples_output}/${name}.rbs)
endforeach()

# The language files: readable UTF-8 in data/source, stored beside the
# program in Windows-1252 as the program reads them.
foreach(language en fr)
    set(language_source ${CMAKE_CURRENT_SOURCE_DIR}/source/${language}.ini)
    set(language_file ${VANTREL_BIN_DIR}/${language}.ini)
    add_custom_command(OUTPUT ${language_file}
        COMMAND vantrel-shift utf8 none ${language_source} ${language_file}
        DEPENDS vantrel-shift ${language_source}
        VERBATIM)
    list(APPEND generated ${language_file})
endforeach()
