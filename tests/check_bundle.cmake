# Makes the portable bundle and checks what a user unpacks, all in one top folder, with an
# empty configs folder and a program without debug information.
# Linux: kovex, the icons, the desktop entry with its install and uninstall steps; then the
# desktop entry on a desktop. Windows: kovex.exe with its icon and version resource, Qt and the
# MinGW runtime, the platform and style plugins; then kovex.exe started from it under Wine.
set(out "${BUILD_DIR}/bundle-check")
file(REMOVE_RECURSE "${out}")
file(MAKE_DIRECTORY "${out}")
if(WINDOWS)
    set(generator ZIP)
    set(entries kovex.exe Qt6Core.dll Qt6Gui.dll Qt6Widgets.dll libstdc++-6.dll
                libgcc_s_seh-1.dll libwinpthread-1.dll platforms/qwindows.dll
                styles/qwindowsvistastyle.dll configs)
else()
    set(generator TGZ)
    set(entries kovex kovex.png kovex.ico kovex.desktop install-desktop-entry.sh
                uninstall-desktop-entry.sh configs icons/kovex-16.png icons/kovex-256.png
                qt.conf libQt6Core.so.6 libQt6Widgets.so.6 libQt6XcbQpa.so.6
                platforms/libqxcb.so fonts/LiberationSans-Regular.ttf
                fonts/ComicNeue-Bold.otf fonts/LICENSE-ComicNeue.txt)
endif()
execute_process(COMMAND "${CPACK}" -G ${generator} -B "${out}" WORKING_DIRECTORY "${BUILD_DIR}"
                RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "cpack failed: ${rc}")
endif()
file(GLOB archive "${out}/kovex-*.tar.gz" "${out}/kovex-*.zip")
file(ARCHIVE_EXTRACT INPUT "${archive}" DESTINATION "${out}/unpacked")
file(GLOB top LIST_DIRECTORIES true "${out}/unpacked/*")
foreach(entry ${entries})
    if(NOT EXISTS "${top}/${entry}")
        message(FATAL_ERROR "bundle lacks ${entry}")
    endif()
endforeach()
file(GLOB configs "${top}/configs/*")
if(configs)
    message(FATAL_ERROR "configs should be empty: ${configs}")
endif()
if(NOT IS_DIRECTORY "${top}/configs")
    message(FATAL_ERROR "configs is not a folder")
endif()

if(WINDOWS)
    file(GLOB_RECURSE dlls "${top}/*.dll")
    foreach(binary "${top}/kovex.exe" ${dlls})
        execute_process(COMMAND ${OBJDUMP} -h "${binary}" OUTPUT_VARIABLE sections
                        RESULT_VARIABLE rc)
        if(NOT rc EQUAL 0 OR sections MATCHES "\\.debug_")
            message(FATAL_ERROR "${binary} in the bundle carries debug information")
        endif()
    endforeach()
    execute_process(COMMAND ${OBJDUMP} -p "${top}/kovex.exe" OUTPUT_VARIABLE headers)
    # Resource types: 3 icon images, 0xe the icon group, 0x10 the version.
    foreach(type 000003 00000e 000010)
        if(NOT headers MATCHES "Entry: ID: 0x${type}")
            message(FATAL_ERROR "kovex.exe lacks resource type 0x${type}")
        endif()
    endforeach()
    execute_process(COMMAND bash "${SOURCE_DIR}/tests/check_windows_bundle.sh" "${top}"
                            "${WINE_PREFIX}" "${FONTS}" "${OFFSCREEN_PLUGIN}"
                    RESULT_VARIABLE rc)
    if(NOT rc EQUAL 0)
        message(FATAL_ERROR "kovex.exe under Wine: ${rc}")
    endif()
else()
    execute_process(COMMAND readelf -S "${top}/kovex" OUTPUT_VARIABLE sections RESULT_VARIABLE rc)
    if(NOT rc EQUAL 0 OR sections MATCHES "\\.debug_" OR sections MATCHES "\\.symtab")
        message(FATAL_ERROR "the bundled kovex is not stripped")
    endif()
    execute_process(COMMAND bash "${SOURCE_DIR}/tests/check_desktop_entry.sh" "${top}"
                    RESULT_VARIABLE rc)
    if(NOT rc EQUAL 0)
        message(FATAL_ERROR "desktop entry: ${rc}")
    endif()
endif()
message(STATUS "bundle ok: ${archive}")
