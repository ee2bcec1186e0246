# One warnings policy for every target of the project.
function(holdfin_set_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
    if(HOLDFIN_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()
