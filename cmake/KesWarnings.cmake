# Warnings for every target of the project; errors when KES_WARNINGS_AS_ERRORS is on (CI).
function(kes_set_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
    if(KES_WARNINGS_AS_ERRORS)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()
