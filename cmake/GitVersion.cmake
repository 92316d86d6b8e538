# Writes the version of the source tree to OUT (only when it changed, so that
# what depends on it is made again only then): `git describe` of SOURCE_DIR,
# the project's version with the commit (0.1-g1a2b3c4) while the history has no
# tag, "-dirty" for uncommitted changes, and FALLBACK alone without git.
#
#   cmake -DSOURCE_DIR=. -DFALLBACK=0.1 -DOUT=version.txt -P cmake/GitVersion.cmake
cmake_policy(VERSION 3.25)
set(version "${FALLBACK}")
find_program(GIT git)
if(GIT)
    execute_process(COMMAND "${GIT}" -C "${SOURCE_DIR}" describe --tags --dirty
                    OUTPUT_VARIABLE described OUTPUT_STRIP_TRAILING_WHITESPACE
                    RESULT_VARIABLE failed ERROR_QUIET)
    if(NOT failed AND NOT described STREQUAL "")
        string(REGEX REPLACE "^v" "" version "${described}")
    else()
        execute_process(COMMAND "${GIT}" -C "${SOURCE_DIR}" describe --always --dirty
                        OUTPUT_VARIABLE commit OUTPUT_STRIP_TRAILING_WHITESPACE
                        RESULT_VARIABLE failed ERROR_QUIET)
        if(NOT failed AND NOT commit STREQUAL "")
            set(version "${FALLBACK}-g${commit}")
        endif()
    endif()
endif()
if(EXISTS "${OUT}")
    file(READ "${OUT}" previous)
endif()
if(NOT "${previous}" STREQUAL "${version}")
    file(WRITE "${OUT}" "${version}")
endif()
