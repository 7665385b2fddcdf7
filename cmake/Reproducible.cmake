# The same source gives the same exe, whoever builds it, wherever and whenever:
# file names that reach the objects (__FILE__, debug information) are relative
# to the source and build trees, and the linker writes no link time into the PE
# header (nor the checksum that then changes with it). The resources carry no
# time (windres writes 0); archive member dates never reach the exe.
add_compile_options("$<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${PROJECT_SOURCE_DIR}/=>"
                    "$<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${PROJECT_BINARY_DIR}/=>")
add_link_options(LINKER:--no-insert-timestamp)
