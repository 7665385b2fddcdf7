# Delay-loaded imports for the window DLLs. A self-test run never opens a window,
# and loading user32, gdi32 and shell32 at start doubles its time under Wine;
# delay-loaded, each DLL is loaded on the first call into it. The delay import
# libraries carry the same names as the regular ones and are found first.
function(tavomed_delay_load_imports target)
    find_program(TAVOMED_DLLTOOL NAMES ${TAVOMED_MINGW_PREFIX}-dlltool REQUIRED)
    find_program(TAVOMED_MINGW_NM NAMES ${TAVOMED_MINGW_PREFIX}-nm REQUIRED)
    set(dir ${CMAKE_CURRENT_BINARY_DIR}/delay-imports)
    set(outputs)
    file(MAKE_DIRECTORY ${dir})
    foreach(dll IN LISTS ARGN)
        find_library(TAVOMED_IMPORT_${dll} NAMES ${dll} REQUIRED)
        set(def ${dir}/${dll}.def)
        set(lib ${dir}/lib${dll}.a)
        add_custom_command(
            OUTPUT ${lib}
            COMMAND sh -c "{ echo 'LIBRARY ${dll}.dll'; echo EXPORTS; '${TAVOMED_MINGW_NM}' -g --defined-only '${TAVOMED_IMPORT_${dll}}' 2>/dev/null | awk '$2 == \"T\" {print $3}' | LC_ALL=C sort -u; } > '${def}'"
            # The exports sorted in byte order, whatever the builder's locale;
            # dlltool names its symbols and members after the output path, so a
            # relative one keeps the build folder out of them.
            COMMAND ${TAVOMED_DLLTOOL} --input-def ${dll}.def --dllname ${dll}.dll
                    --output-delaylib lib${dll}.a
            WORKING_DIRECTORY ${dir}
            DEPENDS ${TAVOMED_IMPORT_${dll}}
            COMMENT "Delay import library for ${dll}.dll"
            VERBATIM)
        list(APPEND outputs ${lib})
    endforeach()
    add_custom_target(${target}_delay_imports DEPENDS ${outputs})
    add_dependencies(${target} ${target}_delay_imports)
    # ld orders the import tables by the path of each library (SORT(*) in its
    # script), so an absolute path would make the exe depend on where the build
    # folder lies beside the toolchain's. Ninja links in the build folder: there
    # the path is given relative to it.
    if(CMAKE_GENERATOR MATCHES "Ninja")
        file(RELATIVE_PATH relative_dir ${CMAKE_BINARY_DIR} ${dir})
        target_link_options(${target} BEFORE PRIVATE -L${relative_dir})
    else()
        target_link_directories(${target} BEFORE PRIVATE ${dir})
    endif()
    set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${outputs})
endfunction()
