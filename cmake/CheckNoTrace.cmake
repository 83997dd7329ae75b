# cmake -DFILE=<binary> -DNAMES=<a;b> -P CheckNoTrace.cmake
# Fails when one of the names appears in the binary as 8-bit or as UTF-16 LE
# text, upper or lower case.
file(READ "${FILE}" content HEX)
string(TOLOWER "${content}" content)
foreach(name IN LISTS NAMES)
    string(TOLOWER "${name}" lower)
    string(TOUPPER "${name}" upper)
    foreach(spelling IN ITEMS "${lower}" "${upper}")
        string(HEX "${spelling}" narrow)
        string(TOLOWER "${narrow}" narrow)
        string(REGEX REPLACE "(..)" "\\100" wide "${narrow}")
        string(FIND "${content}" "${narrow}" at_narrow)
        string(FIND "${content}" "${wide}" at_wide)
        if(NOT at_narrow EQUAL -1 OR NOT at_wide EQUAL -1)
            message(FATAL_ERROR "${FILE} carries \"${name}\": the release program must not read it")
        endif()
    endforeach()
endforeach()
