# Lays out the runtime folder: Quillora.exe (built there directly), the hook library and
# its spare copy, and everything under data/ that the folder does not hold yet (delete
# build/win32/runtime to take changed data files).
add_custom_target(runtime ALL
  COMMAND "${CMAKE_COMMAND}" -E make_directory "${QUILL_RUNTIME_DIR}"
  COMMAND "${CMAKE_COMMAND}" -DSOURCE=${PROJECT_SOURCE_DIR}/data -DTARGET=${QUILL_RUNTIME_DIR}
          -P "${PROJECT_SOURCE_DIR}/cmake/CopyMissing.cmake"
  # The program-shortcut folder ships empty (a repository keeps no empty folder).
  COMMAND "${CMAKE_COMMAND}" -E make_directory "${QUILL_RUNTIME_DIR}/程序快捷方式总集"
  COMMENT "Laying out the runtime folder"
  VERBATIM)
if(TARGET SysHookDLL)
  add_dependencies(runtime SysHookDLL)
  add_custom_command(TARGET runtime POST_BUILD
    COMMAND "${CMAKE_COMMAND}" -E copy_if_different "$<TARGET_FILE:SysHookDLL>" "${QUILL_RUNTIME_DIR}/SysHookDLL.dll"
    COMMAND "${CMAKE_COMMAND}" -E copy_if_different "$<TARGET_FILE:SysHookDLL>" "${QUILL_RUNTIME_DIR}/copy_Key.dll"
    VERBATIM)
endif()
# The first-start introduction: a snapshot stream made at build time from an HTML text of ours.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(introduction "${QUILL_RUNTIME_DIR}/首次启动介绍.liu")
add_custom_command(OUTPUT "${introduction}"
  COMMAND Python3::Interpreter "${PROJECT_SOURCE_DIR}/tools/make_introduction.py"
          "${PROJECT_SOURCE_DIR}/tools/introduction.html" "${introduction}"
  DEPENDS "${PROJECT_SOURCE_DIR}/tools/make_introduction.py" "${PROJECT_SOURCE_DIR}/tools/introduction.html")
add_custom_target(introduction DEPENDS "${introduction}")
add_dependencies(runtime introduction)
