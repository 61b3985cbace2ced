# Helpers of the install and package tests.

# Runs a program with HOME=<home>, no XDG_DATA_HOME and no display, in the folder <cwd>:
# run_in(<home> <cwd> <out var> <err var> <status var> <program> <arguments>...)
function(run_in home cwd out_var err_var rc_var)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=XDG_DATA_HOME --unset=DISPLAY
                          --unset=WAYLAND_DISPLAY --unset=QT_QPA_PLATFORM HOME=${home} ${ARGN}
                  WORKING_DIRECTORY ${cwd} OUTPUT_VARIABLE out ERROR_VARIABLE err
                  RESULT_VARIABLE rc)
  set(${out_var} "${out}" PARENT_SCOPE)
  set(${err_var} "${err}" PARENT_SCOPE)
  set(${rc_var} "${rc}" PARENT_SCOPE)
endfunction()

function(expect_version program name)
  run_in(${WORK} ${WORK} out err rc ${program} --version)
  if(NOT rc EQUAL 0 OR NOT out STREQUAL "${name} ${VERSION}\n")
    message(FATAL_ERROR "${program} --version: exit ${rc}, '${out}' ${err}")
  endif()
endfunction()

# The names of the files below `folder`, relative to it, sorted.
function(files_below folder out_var)
  file(GLOB_RECURSE found LIST_DIRECTORIES false RELATIVE ${folder} ${folder}/*)
  list(SORT found)
  set(${out_var} "${found}" PARENT_SCOPE)
endfunction()
