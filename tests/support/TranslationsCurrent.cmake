# SPDX-License-Identifier: MIT
# Runs lupdate, as the update_translations target does, over copies of the
# translation files: a text of the code that was added or changed without
# lupdate having run since leaves the copies different from the files.
# Arguments: LUPDATE, the lupdate program; WORK, a folder of its own;
# PROJECTS, the names of the build's lupdate projects (PROJECT_DIR/NAME_project.cmake),
# comma-separated, each with its options in OPTIONS_<NAME>; GENERATE_PROJECT,
# Qt's script that turns a project into lupdate's JSON.
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
set(stale)
string(REPLACE "," ";" names "${PROJECTS}")
foreach(name IN LISTS names)
  set(project "${PROJECT_DIR}/${name}_project.cmake")
  include("${project}") # lupdate_translations
  execute_process(COMMAND "${CMAKE_COMMAND}" -DIN_FILE=${project} -DOUT_FILE=${WORK}/${name}.json
                          -P "${GENERATE_PROJECT}" COMMAND_ERROR_IS_FATAL ANY)
  set(copies)
  foreach(file IN LISTS lupdate_translations)
    get_filename_component(base "${file}" NAME)
    file(COPY_FILE "${file}" "${WORK}/${base}")
    list(APPEND copies "${WORK}/${base}")
  endforeach()
  string(REPLACE " " ";" options "${OPTIONS_${name}}")
  execute_process(COMMAND "${LUPDATE}" -silent -project ${WORK}/${name}.json ${options} -ts ${copies}
                  COMMAND_ERROR_IS_FATAL ANY)
  foreach(file IN LISTS lupdate_translations)
    get_filename_component(base "${file}" NAME)
    execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${file}" "${WORK}/${base}" RESULT_VARIABLE differs)
    if(differs)
      list(APPEND stale "${base}")
    endif()
  endforeach()
endforeach()
if(stale)
  message(FATAL_ERROR "Not up to date with the code: ${stale}. Run `cmake --build build --target update_translations`, "
                      "translate what it added, and see what changed with git diff.")
endif()
message(STATUS "The translation files hold the texts of the code as it is.")
