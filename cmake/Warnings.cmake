# Warnings are errors for the project's own targets (not for GoogleTest).
function(tavomed_set_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Werror
                                             -Wshadow -Wconversion -Wno-sign-conversion)
endfunction()
