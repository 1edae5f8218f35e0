# The layering of the source folders, enforced by the compiler: each library's include directory
# exposes only its own folder and the folders below it (common -> imagelib -> settings, exif ->
# filelist -> batch -> app; controls -> dialogs -> gui on top of the core), so that a header of a
# higher folder, a GUI header in a core file above all, is not found and the file does not compile.
#
# pelimon_expose(<target> <folder>...): <target>'s include directory (PUBLIC, so what links it
# sees the same) becomes build/layers/<target>/, which holds a symbolic link to each named folder
# of the source tree and nothing else. Includes stay "folder/file.h".
function(pelimon_expose target)
    set(dir ${PROJECT_BINARY_DIR}/layers/${target})
    # Start afresh, so that a folder taken off the list is no longer seen.
    file(GLOB old_links LIST_DIRECTORIES true ${dir}/*)
    if(old_links)
        file(REMOVE ${old_links})
    endif()
    file(MAKE_DIRECTORY ${dir})
    foreach(folder IN LISTS ARGN)
        if(NOT IS_DIRECTORY ${PROJECT_SOURCE_DIR}/${folder})
            message(FATAL_ERROR "pelimon_expose(${target}): no folder ${folder}")
        endif()
        file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${folder} ${dir}/${folder} SYMBOLIC)
    endforeach()
    target_include_directories(${target} PUBLIC ${dir})
endfunction()

# The core folders, lowest first; the GUI libraries see all of them.
set(PELIMON_CORE_FOLDERS common imagelib settings exif filelist batch app)
