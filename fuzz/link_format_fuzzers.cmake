# Makes fuzz_<name> beside the format fuzzer for every format of the format table, and writes the
# list of fuzz targets: the parsers' (from the build) and then the formats'. Run by the build
# (fuzz/CMakeLists.txt):
#   cmake -DLISTS=... -DPARSERS=... -DOUTPUT=... -DPROGRAM=... -DSOURCE_DIR=... -P link_format_fuzzers.cmake
include(${LISTS})
get_filename_component(folder ${PROGRAM} DIRECTORY)
get_filename_component(program ${PROGRAM} NAME)
file(READ ${PARSERS} manifest)
foreach(name IN LISTS PELIMON_FORMAT_NAMES)
    file(CREATE_LINK ${program} ${folder}/fuzz_${name} SYMBOLIC)
    set(dict -)
    if(EXISTS ${SOURCE_DIR}/fuzz/dict/${name}.dict)
        set(dict fuzz/dict/${name}.dict)
    endif()
    string(APPEND manifest "${name}\t${dict}\ttests/data/images\n")
endforeach()
file(WRITE ${OUTPUT} "${manifest}")
