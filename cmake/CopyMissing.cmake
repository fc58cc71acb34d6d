# cmake -DSOURCE=dir -DTARGET=dir -P CopyMissing.cmake
# Copies every file of SOURCE into TARGET that TARGET does not have yet. The runtime folder
# is also where the program keeps the user's files ("set", edited sample tables, saved
# lists): a rebuild must not overwrite them.
file(GLOB_RECURSE files RELATIVE "${SOURCE}" "${SOURCE}/*")
foreach(f ${files})
  if(NOT EXISTS "${TARGET}/${f}")
    get_filename_component(dir "${TARGET}/${f}" DIRECTORY)
    file(MAKE_DIRECTORY "${dir}")
    file(COPY "${SOURCE}/${f}" DESTINATION "${dir}")
  endif()
endforeach()
