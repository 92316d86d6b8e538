# Writes the player's guide from README.md's sections for players, so that the
# guide never repeats (and never contradicts) the README: each section named in
# SECTIONS is taken with its subsections up to the next heading of its level or
# above, leaving out the subsections named in LEAVE_OUT and the paragraphs
# about the project's tests. A named section that README no longer has stops
# the build.
#
#   cmake -DREADME=README.md -DVERSION_FILE=version.txt -DOUT=guide.txt
#         "-DSECTIONS=What this is|Ridoved" "-DLEAVE_OUT=Speed" -P cmake/PlayerGuide.cmake
cmake_policy(VERSION 3.25)
foreach(required README VERSION_FILE OUT SECTIONS)
    if(NOT DEFINED ${required})
        message(FATAL_ERROR "PlayerGuide.cmake: ${required} is not given")
    endif()
endforeach()

function(restore out value)
    string(REPLACE "<semicolon>" ";" value "${value}")
    string(REPLACE "<open>" "[" value "${value}")
    string(REPLACE "<close>" "]" value "${value}")
    set(${out} "${value}" PARENT_SCOPE)
endfunction()

string(REPLACE "|" ";" SECTIONS "${SECTIONS}")
string(REPLACE "|" ";" LEAVE_OUT "${LEAVE_OUT}")

file(READ "${README}" readme)
# Lines without CMake's list splitting getting in the way of ";" and brackets.
string(REPLACE ";" "<semicolon>" readme "${readme}")
string(REPLACE "[" "<open>" readme "${readme}")
string(REPLACE "]" "<close>" readme "${readme}")
string(REPLACE "\n" ";" lines "${readme}")

set(found "")
set(text "")
set(taking_level 0)   # the heading level of the section being taken; 0: none
set(skipping_level 0) # the heading level of a subsection being left out
set(in_code FALSE)
foreach(line IN LISTS lines)
    if(line MATCHES "^```")
        if(in_code)
            set(in_code FALSE)
        else()
            set(in_code TRUE)
        endif()
    elseif(NOT in_code AND line MATCHES "^(#+) (.+)$")
        string(LENGTH "${CMAKE_MATCH_1}" level)
        set(title "${CMAKE_MATCH_2}")
        restore(plain_title "${title}")
        if(skipping_level GREATER 0 AND level LESS_EQUAL skipping_level)
            set(skipping_level 0)
        endif()
        if(taking_level GREATER 0 AND level LESS_EQUAL taking_level)
            set(taking_level 0)
        endif()
        if(taking_level EQUAL 0 AND plain_title IN_LIST SECTIONS)
            set(taking_level ${level})
            list(APPEND found "${plain_title}")
        elseif(taking_level GREATER 0 AND plain_title IN_LIST LEAVE_OUT)
            set(skipping_level ${level})
        endif()
    endif()
    if(taking_level GREATER 0 AND skipping_level EQUAL 0 AND NOT line MATCHES "^Tests[ :]")
        string(APPEND text "${line}\n")
    endif()
endforeach()

foreach(section IN LISTS SECTIONS)
    if(NOT section IN_LIST found)
        message(FATAL_ERROR "${README} has no section \"${section}\" for the player's guide")
    endif()
endforeach()

restore(text "${text}")
string(REGEX REPLACE "\n\n\n+" "\n\n" text "${text}")
file(READ "${VERSION_FILE}" version)
set(header "Zuzuzevo and Ridoved ${version}: the player's guide\n\n")
string(REPLACE "\n" "\r\n" guide "${header}${text}")
file(WRITE "${OUT}" "${guide}")
