# PELIMON_SANITIZE: "" (none), "address,undefined" or "thread".
# Sanitizer builds stop at the first error so that CI fails loudly.
set(PELIMON_SANITIZE "" CACHE STRING "Sanitizers for all targets: address,undefined | thread")

if(PELIMON_SANITIZE)
    add_compile_options(-fsanitize=${PELIMON_SANITIZE} -fno-omit-frame-pointer -fno-sanitize-recover=all)
    add_link_options(-fsanitize=${PELIMON_SANITIZE})
endif()
