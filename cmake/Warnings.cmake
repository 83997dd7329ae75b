# Warning flags shared by every target of ours (not by third-party code).
function(tarvenholm_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra)
    if(TARVENHOLM_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()
