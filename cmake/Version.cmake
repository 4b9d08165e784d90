# One version for every program's --version: the project's own, written into
# a header in the build tree. Programs with a command line link
# wobrix_version to include it as "WobrixVersion.h".
configure_file(${CMAKE_CURRENT_LIST_DIR}/Version.h.in
               ${CMAKE_BINARY_DIR}/generated/WobrixVersion.h @ONLY)
add_library(wobrix_version INTERFACE)
target_include_directories(wobrix_version INTERFACE ${CMAKE_BINARY_DIR}/generated)
