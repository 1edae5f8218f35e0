# Warnings for our own targets only; third-party code keeps its own flags.
# PELIMON_WERROR (on by default) turns them into errors.
option(PELIMON_WERROR "Treat warnings in pelimon's own code as errors" ON)

function(pelimon_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion)
    if(PELIMON_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()
