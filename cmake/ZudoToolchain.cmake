# Compiler and platform settings shared by every target of the project.

if(WIN32)
    # The Windows outputs must run with nothing beside them: no MinGW runtime DLLs.
    add_link_options(-static -static-libgcc -static-libstdc++)
    # The game may call into the plug-in with a 4-byte aligned stack.
    add_compile_options(-mstackrealign)
    add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
endif()

if(ZUDO_SANITIZE AND NOT WIN32)
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined
                        -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
endif()

# The fuzzing build: every object carries libFuzzer's coverage instrumentation
# and both sanitizers; only the fuzz targets link libFuzzer's main. -O1 keeps
# the compilation short and the assertions stay on.
if(ZUDO_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        message(FATAL_ERROR "ZUDO_FUZZ needs clang (the fuzz preset uses clang++-14)")
    endif()
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined
                        -fno-omit-frame-pointer -gline-tables-only -O1)
    add_link_options(-fsanitize=address,undefined)
endif()

# Warnings for the project's own code (not for googletest): link zudo_warnings.
add_library(zudo_warnings INTERFACE)
target_compile_options(zudo_warnings INTERFACE
    -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Woverloaded-virtual
    -Wimplicit-fallthrough -Wformat=2 -Wundef -Wcast-qual -Wmissing-declarations
    $<$<BOOL:${ZUDO_WERROR}>:-Werror>)

# Boost is header-only for what the project uses. For the cross build, never put
# /usr/include on the MinGW search path: a directory holding only a link to
# /usr/include/boost stands in for it.
add_library(zudo_boost INTERFACE)
if(CMAKE_CROSSCOMPILING)
    set(_zudo_boost_dir "${CMAKE_BINARY_DIR}/boost-include")
    file(MAKE_DIRECTORY "${_zudo_boost_dir}")
    if(NOT EXISTS "${_zudo_boost_dir}/boost")
        file(CREATE_LINK /usr/include/boost "${_zudo_boost_dir}/boost" SYMBOLIC)
    endif()
    target_include_directories(zudo_boost SYSTEM INTERFACE "${_zudo_boost_dir}")
else()
    find_package(Boost 1.74 REQUIRED)
    target_link_libraries(zudo_boost INTERFACE Boost::headers)
endif()

# Collects the sources of one folder of the code base, so that adding a file to a
# folder needs no edit of a CMake list.
function(zudo_sources out)
    set(result)
    foreach(dir IN LISTS ARGN)
        file(GLOB found CONFIGURE_DEPENDS
             "${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*.cpp" "${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*.c")
        list(APPEND result ${found})
    endforeach()
    set(${out} ${result} PARENT_SCOPE)
endfunction()

# zudo_library(NAME SOURCES... [DEPENDS libs...]): a static library of the
# project, with the project's warnings; an interface library while a folder is
# still empty, so that the tree builds at every step.
function(zudo_library name)
    cmake_parse_arguments(L "" "" "SOURCES;DEPENDS" ${ARGN})
    if(L_SOURCES)
        add_library(${name} STATIC ${L_SOURCES})
        target_link_libraries(${name} PUBLIC ${L_DEPENDS} PRIVATE zudo_warnings)
    else()
        add_library(${name} INTERFACE)
        target_link_libraries(${name} INTERFACE ${L_DEPENDS})
    endif()
endfunction()

# zudo_runs_windows_program(TESTS...): in the win32 build these tests run a
# Windows program through scripts/wine-run.sh, which exits with 77 where nothing
# on the machine can run one; CTest then reports them as skipped, not failed.
function(zudo_runs_windows_program)
    if(CMAKE_CROSSCOMPILING)
        set_tests_properties(${ARGN} PROPERTIES SKIP_RETURN_CODE 77)
    endif()
endfunction()
