# Fills the @PELIMON_...@ places of one template with the lists pelimon_make_lists wrote from the
# format table (run by the build: res/CMakeLists.txt).
#   cmake -DLISTS=<format_lists.cmake> -DTEMPLATE=<file.in> -DOUTPUT=<file> -P configure_lists.cmake
include(${LISTS})
configure_file(${TEMPLATE} ${OUTPUT} @ONLY)
