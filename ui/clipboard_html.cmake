# The "HTML Format" clipboard payload: built by portable code (tested natively),
# wrapped in clipboard memory by a small Win32 part that the program links.
target_sources(tavomed_shell_text PRIVATE clipboard_html.cpp)
if(WIN32)
    add_library(tavomed_clipboard_html STATIC clipboard_html_win32.cpp)
    target_link_libraries(tavomed_clipboard_html PUBLIC tavomed_shell_text)
    tavomed_set_warnings(tavomed_clipboard_html)
endif()
