# Data files the build makes with the project's own tools. Each block appends
# its outputs to `generated`.

# --- Welcome document -------------------------------------------------------
# "Entry.vdoc", shown read-only at start-up, is built beside the program from
# the readable welcome page with vantrel-doc.
set(entry_source ${CMAKE_CURRENT_SOURCE_DIR}/source/Entry.html)
set(entry_output ${VANTREL_BIN_DIR}/Entry.vdoc)
add_custom_command(OUTPUT ${entry_output}
    COMMAND vantrel-doc import ${entry_source} ${entry_output}
    DEPENDS vantrel-doc ${entry_source}
    COMMENT "Building the welcome document Entry.vdoc"
    VERBATIM)
list(APPEND generated ${entry_output})
