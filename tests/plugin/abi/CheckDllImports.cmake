# The plug-in must load in the game with nothing beside it: it may import
# from KERNEL32.dll and msvcrt.dll only, and the game finds the factory by its
# plain, undecorated name.
#   cmake -DOBJDUMP=... -DDLL=.../Zuzuzevo.dll -P CheckDllImports.cmake
execute_process(COMMAND "${OBJDUMP}" -p "${DLL}" OUTPUT_VARIABLE headers RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "objdump cannot read ${DLL}")
endif()

string(REGEX MATCHALL "DLL Name: [^\r\n]+" imports "${headers}")
list(TRANSFORM imports REPLACE "DLL Name: " "")
list(SORT imports CASE INSENSITIVE)
list(REMOVE_DUPLICATES imports)
if(NOT imports STREQUAL "KERNEL32.dll;msvcrt.dll")
    message(FATAL_ERROR "Zuzuzevo.dll imports ${imports}; only KERNEL32.dll and msvcrt.dll are allowed")
endif()

# The export names: the lines "[   0] name" that follow the name pointer table's
# heading, up to the first line of another form.
string(REPLACE "\n" ";" lines "${headers}")
set(names)
set(inTable FALSE)
foreach(line IN LISTS lines)
    if(line MATCHES "\\[Ordinal/Name Pointer\\] Table")
        set(inTable TRUE)
    elseif(inTable AND line MATCHES "^[ \t]*\\[ *[0-9]+\\] ([^ \t\r]+)")
        list(APPEND names "${CMAKE_MATCH_1}")
    elseif(inTable)
        break()
    endif()
endforeach()
if(NOT names STREQUAL "ZUDO_CreatePlugin")
    message(FATAL_ERROR "Zuzuzevo.dll exports '${names}'; expected ZUDO_CreatePlugin alone, undecorated")
endif()
message(STATUS "1 passed, 0 failed: imports ${imports}; export ${names}")
