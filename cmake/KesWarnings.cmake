# Warnings for every target of the project; errors when KES_WARNINGS_AS_ERRORS is on (CI).
function(kes_set_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
        # GCC 12 reports impossible overlaps inside std::string's own copies when a literal
        # is concatenated with a string at -O2 (a known false positive of that release).
        target_compile_options(${target} PRIVATE -Wno-restrict)
    endif()
    if(KES_WARNINGS_AS_ERRORS)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()
