# vantrel_add_test(NAME source...)
# Builds one QtTest program linked to the libraries and registers it with CTest,
# headless and with a home folder of its own, so no test touches the real
# user's files and tests may run in parallel.
function(vantrel_add_test name)
    add_executable(${name} ${ARGN})
    target_link_libraries(${name} PRIVATE vantrel_app Qt6::Test)
    target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
    set_target_properties(${name} PROPERTIES
        RUNTIME_OUTPUT_DIRECTORY ${VANTREL_BIN_DIR})
    set(home ${CMAKE_BINARY_DIR}/test-home/${name})
    add_test(NAME ${name} COMMAND ${name} WORKING_DIRECTORY ${VANTREL_BIN_DIR})
    set_tests_properties(${name} PROPERTIES
        TIMEOUT 300
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;HOME=${home};XDG_DATA_HOME=${home}/.local/share;XDG_CONFIG_HOME=${home}/.config;XDG_CACHE_HOME=${home}/.cache;XDG_RUNTIME_DIR=${home}/.runtime;QTWEBENGINE_CHROMIUM_FLAGS=--no-sandbox --disable-gpu;QTWEBENGINE_DISABLE_SANDBOX=1")
    add_custom_command(TARGET ${name} PRE_LINK
        COMMAND ${CMAKE_COMMAND} -E make_directory ${home}/Documents ${home}/.runtime
        COMMAND chmod 700 ${home}/.runtime
        VERBATIM)
endfunction()
