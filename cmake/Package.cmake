# The release archive of the Windows build (cmake --build --preset win32
# --target package): a ZIP whose folders mirror the game's directory, so that a
# player unpacks it over the game. What it holds is listed in README
# ("The release archive"); its version comes from git (cmake/GitVersion.cmake).

set(ZUDO_PACKAGE_DIR "${CMAKE_BINARY_DIR}/package-files")
set(ZUDO_VERSION_FILE "${ZUDO_PACKAGE_DIR}/version.txt")
set(ZUDO_GUIDE_NAME "Zuzuzevo-Guide.txt")

# README's sections for players (the guide keeps their order in README).
set(ZUDO_GUIDE_SECTIONS
    "What this is" "Installing it in the game" "Playing: the pages and their keys"
    "The start page" "The hotlap and rally lists" "The results page" "Weather and track options"
    "The rally page" "In-game time messages"
    "Starting a stage: what works in the game with this build"
    "Replays and the service park: what this build does in the game" "Rally files" "Ridoved")
set(ZUDO_GUIDE_LEAVE_OUT "Speed")
# A custom command would split lists at ";".
string(REPLACE ";" "|" guide_sections "${ZUDO_GUIDE_SECTIONS}")
string(REPLACE ";" "|" guide_leave_out "${ZUDO_GUIDE_LEAVE_OUT}")

# Made again at every build: the commit may have changed without any file.
add_custom_target(zudo_version ALL
    COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${PROJECT_SOURCE_DIR} -DFALLBACK=${PROJECT_VERSION}
            -DOUT=${ZUDO_VERSION_FILE} -P ${PROJECT_SOURCE_DIR}/cmake/GitVersion.cmake
    BYPRODUCTS "${ZUDO_VERSION_FILE}"
    COMMENT "Version from git" VERBATIM)

set(settings_header "${PROJECT_SOURCE_DIR}/src/config/Settings.hpp")
set(settings_script "${PROJECT_SOURCE_DIR}/cmake/SettingsIni.cmake")
add_custom_command(OUTPUT "${ZUDO_PACKAGE_DIR}/Zuzuzevo.ini"
    COMMAND ${CMAKE_COMMAND} -DSETTINGS=${settings_header} -DNAMESPACES=zuzuzevo
            "-DHEADER=Zuzuzevo.ini: the settings of the plug-in Zuzuzevo."
            -DOUT=${ZUDO_PACKAGE_DIR}/Zuzuzevo.ini -P ${settings_script}
    DEPENDS "${settings_header}" "${settings_script}"
    COMMENT "Zuzuzevo.ini from the declared keys" VERBATIM)
add_custom_command(OUTPUT "${ZUDO_PACKAGE_DIR}/Viduzuz.ini"
    COMMAND ${CMAKE_COMMAND} -DSETTINGS=${settings_header} -DNAMESPACES=viduzuz,ridoved
            "-DHEADER=Viduzuz.ini: the settings of Ridoved, beside it in the game's directory."
            -DOUT=${ZUDO_PACKAGE_DIR}/Viduzuz.ini -P ${settings_script}
    DEPENDS "${settings_header}" "${settings_script}"
    COMMENT "Viduzuz.ini from the declared keys" VERBATIM)
add_custom_command(OUTPUT "${ZUDO_PACKAGE_DIR}/${ZUDO_GUIDE_NAME}"
    COMMAND ${CMAKE_COMMAND} -DREADME=${PROJECT_SOURCE_DIR}/README.md
            -DVERSION_FILE=${ZUDO_VERSION_FILE} -DOUT=${ZUDO_PACKAGE_DIR}/${ZUDO_GUIDE_NAME}
            "-DSECTIONS=${guide_sections}" "-DLEAVE_OUT=${guide_leave_out}"
            -P ${PROJECT_SOURCE_DIR}/cmake/PlayerGuide.cmake
    DEPENDS "${PROJECT_SOURCE_DIR}/README.md" "${PROJECT_SOURCE_DIR}/cmake/PlayerGuide.cmake"
            "${ZUDO_VERSION_FILE}" zudo_version
    COMMENT "The player's guide from README" VERBATIM)
add_custom_target(zudo_package_files ALL DEPENDS
    "${ZUDO_PACKAGE_DIR}/Zuzuzevo.ini" "${ZUDO_PACKAGE_DIR}/Viduzuz.ini"
    "${ZUDO_PACKAGE_DIR}/${ZUDO_GUIDE_NAME}")

install(FILES $<TARGET_FILE:Zuzuzevo> DESTINATION Plugins)
install(FILES "${ZUDO_PACKAGE_DIR}/Zuzuzevo.ini" "${PROJECT_SOURCE_DIR}/examples/package/strings.ini"
        DESTINATION Plugins/Zuzuzevo)
install(DIRECTORY "${PROJECT_SOURCE_DIR}/examples/sample-install/Plugins/Zuzuzevo/"
        DESTINATION Plugins/Zuzuzevo FILES_MATCHING PATTERN "*.srp")
install(FILES $<TARGET_FILE:Ridoved> "${ZUDO_PACKAGE_DIR}/Viduzuz.ini"
        "${ZUDO_PACKAGE_DIR}/${ZUDO_GUIDE_NAME}" DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_SOURCE_GENERATOR "")
set(CPACK_PACKAGE_NAME Zuzuzevo)
set(CPACK_PACKAGE_VENDOR Zuzuzevo)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Zuzuzevo, a rally and practice plug-in for Zudo, and Ridoved")
# Unpacked over the game's directory: no folder of its own around the files.
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_ARCHIVE_COMPONENT_INSTALL OFF)
# The version is read when the archive is made, not when CMake configured.
set(CPACK_PROJECT_CONFIG_FILE "${CMAKE_BINARY_DIR}/CPackVersion.cmake")
file(WRITE "${CPACK_PROJECT_CONFIG_FILE}" "\
file(READ \"${ZUDO_VERSION_FILE}\" CPACK_PACKAGE_VERSION)
set(CPACK_PACKAGE_FILE_NAME \"Zuzuzevo-\${CPACK_PACKAGE_VERSION}-win32\")
")
include(CPack)
