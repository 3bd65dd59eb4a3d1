# vantrel_add_test(NAME source...)
# Builds one QtTest program and registers it with CTest, headless and with a
# home folder of its own, so no test touches the real user's files and tests
# may run in parallel. The caller links the libraries it tests.
function(vantrel_add_test name)
    add_executable(${name} ${ARGN})
    target_link_libraries(${name} PRIVATE Qt6::Test)
    target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
    set_target_properties(${name} PROPERTIES
        RUNTIME_OUTPUT_DIRECTORY ${VANTREL_BIN_DIR})
    set(home ${CMAKE_BINARY_DIR}/test-home/${name})
    # A test that needs a service around it names a launcher script in
    # VANTREL_TEST_LAUNCHER_<name>, which gets the test program's path.
    add_test(NAME ${name} COMMAND ${VANTREL_TEST_LAUNCHER_${name}} $<TARGET_FILE:${name}>
        WORKING_DIRECTORY ${VANTREL_BIN_DIR})
    set_tests_properties(${name} PROPERTIES
        TIMEOUT 300
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;HOME=${home};XDG_DATA_HOME=${home}/.local/share;XDG_CONFIG_HOME=${home}/.config;XDG_CACHE_HOME=${home}/.cache;XDG_RUNTIME_DIR=${home}/.runtime;QTWEBENGINE_CHROMIUM_FLAGS=--no-sandbox --disable-gpu;QTWEBENGINE_DISABLE_SANDBOX=1")
    # The browser engine's own code mixes allocation and release sizes in a
    # way the address sanitizer reports, and leaves allocations of its threads
    # behind at exit; our code is still checked for both by every other test,
    # and for leaks outside the engine by these. A test uses the engine when
    # it includes the main window's header or a header of the web module.
    if(VANTREL_SANITIZE)
        set(uses_browser_engine FALSE)
        foreach(source IN LISTS ARGN)
            get_filename_component(source ${source} ABSOLUTE)
            file(READ ${source} text)
            if(text MATCHES "#include \"(app/mainwindow\\.h|web/)")
                set(uses_browser_engine TRUE)
            endif()
        endforeach()
        if(uses_browser_engine)
            # Prepended, so that options given by whoever runs the tests win.
            set_property(TEST ${name} APPEND PROPERTY ENVIRONMENT_MODIFICATION
                "ASAN_OPTIONS=string_prepend:new_delete_type_mismatch=0:"
                "LSAN_OPTIONS=string_prepend:suppressions='${CMAKE_SOURCE_DIR}/cmake/lsan-browser-engine.supp':")
        endif()
    endif()
    add_custom_command(TARGET ${name} PRE_LINK
        COMMAND ${CMAKE_COMMAND} -E make_directory ${home}/Documents ${home}/.runtime
        COMMAND chmod 700 ${home}/.runtime
        VERBATIM)
endfunction()
