# Runs one generator into an empty folder and compares every file it writes
# with the committed one, byte for byte.
#   cmake -DSOURCE=<repository> -DOUT=<empty folder> -DFILES=<a,b,...>
#         -DGENERATOR=<program,argument,...> -P check_generated.cmake
# Each FILES entry is a path under both SOURCE and OUT; OUT in the generator's
# arguments stands for the folder.
string(REPLACE "," ";" files "${FILES}")
string(REPLACE "," ";" generator "${GENERATOR}")
file(REMOVE_RECURSE "${OUT}")
foreach(f IN LISTS files)
  get_filename_component(dir "${OUT}/${f}" DIRECTORY)
  file(MAKE_DIRECTORY "${dir}")
endforeach()
execute_process(COMMAND ${generator} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the generator failed (${rc}):\n${out}${err}")
endif()
set(stale "")
foreach(f IN LISTS files)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${SOURCE}/${f}" "${OUT}/${f}" RESULT_VARIABLE differs)
  if(NOT differs EQUAL 0)
    list(APPEND stale "${f}")
  endif()
endforeach()
if(stale)
  message(FATAL_ERROR "the generator writes other bytes than are committed in: ${stale}\n"
                      "(run it into the repository and commit its output; what it wrote is in ${OUT})")
endif()
