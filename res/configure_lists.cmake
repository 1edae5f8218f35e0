# Fills the @PELIMON_...@ places of one template with the lists pelimon_make_lists wrote from the
# format table (run by the build: res/CMakeLists.txt).
#   cmake -DLISTS=<format_lists.cmake> -DTEMPLATE=<file.in> -DOUTPUT=<file> -P configure_lists.cmake
# A help page is written in one language, which says how its lists read: with -DLANGUAGE=<code>
# each help list PELIMON_HELP_X becomes @PELIMON_HELP_X@ ("JPEG, WebP, AVIF") and
# @PELIMON_HELP_X_PROSE@ ("JPEG, WebP and AVIF"; in Japanese both "JPEG・WebP・AVIF").
include(${LISTS})
if(DEFINED LANGUAGE)
    if(LANGUAGE STREQUAL "ja")
        set(LIST_SEPARATOR "・")
        set(LAST_SEPARATOR "・")
    else()
        set(LIST_SEPARATOR ", ")
        set(LAST_SEPARATOR " and ")
    endif()
    foreach(name READ_FORMATS EXIF_FORMATS TYPE_BOXES OUTPUT_FORMATS QUALITY_FORMATS)
        set(items ${PELIMON_HELP_${name}})
        list(POP_BACK items last)
        list(JOIN items "${LIST_SEPARATOR}" leading)
        list(JOIN PELIMON_HELP_${name} "${LIST_SEPARATOR}" PELIMON_HELP_${name})
        if(leading STREQUAL "")
            set(PELIMON_HELP_${name}_PROSE "${last}")
        else()
            set(PELIMON_HELP_${name}_PROSE "${leading}${LAST_SEPARATOR}${last}")
        endif()
    endforeach()
endif()
configure_file(${TEMPLATE} ${OUTPUT} @ONLY)
