# One interface target carries the warning flags (and the sanitizer flags of the checked build).
add_library(drenok_warnings INTERFACE)
target_compile_options(drenok_warnings INTERFACE -Wall -Wextra -Wshadow)
if(DRENOK_WERROR)
    target_compile_options(drenok_warnings INTERFACE -Werror)
endif()

if(DRENOK_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
endif()

if(DRENOK_FUZZ)
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
endif()
