# Runs at install: copies the libraries kovex and its plugins load that the bundle carries
# (KOVEX_CARRIED, a pattern of their names), each under the name the loader asks for, and sets
# every file's RUNPATH to the bundle.
set(root "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
file(GLOB plugins "${root}/*/*.so")
file(GET_RUNTIME_DEPENDENCIES
    EXECUTABLES "${root}/kovex"
    MODULES ${plugins}
    RESOLVED_DEPENDENCIES_VAR libraries
    PRE_INCLUDE_REGEXES "${KOVEX_CARRIED}"
    PRE_EXCLUDE_REGEXES ".")
foreach(library ${libraries})
    get_filename_component(name "${library}" NAME)
    file(COPY_FILE "${library}" "${root}/${name}")
    list(APPEND carried "${root}/${name}")
endforeach()
find_program(PATCHELF patchelf REQUIRED)
foreach(file "${root}/kovex" ${carried})
    execute_process(COMMAND "${PATCHELF}" --set-rpath "$ORIGIN" "${file}" COMMAND_ERROR_IS_FATAL ANY)
endforeach()
foreach(plugin ${plugins})
    execute_process(COMMAND "${PATCHELF}" --set-rpath "$ORIGIN/.." "${plugin}"
                    COMMAND_ERROR_IS_FATAL ANY)
endforeach()
