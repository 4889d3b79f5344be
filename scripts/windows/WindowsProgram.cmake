# Included by the top-level CMakeLists.txt when building for Windows.
#
# photocheck_windows_program(TARGET DESCRIPTION) gives a program its Windows resource: the program's icon
# (made from app/photocheck.svg), its manifest (program.manifest) and its version information (the
# project's version; DESCRIPTION is the file description Explorer shows).
#
# photocheck_runtime_as_dlls() makes the programs of the calling folder take the C++ runtime as DLLs
# rather than linking it in: Qt's DLLs use those DLLs, and a process holds one C++ runtime.
set(PHOTOCHECK_WINDOWS_DIR ${CMAKE_CURRENT_LIST_DIR})
set(PHOTOCHECK_ICON ${CMAKE_BINARY_DIR}/windows/photocheck.ico)

add_custom_command(
  OUTPUT ${PHOTOCHECK_ICON}
  COMMAND ${PHOTOCHECK_WINDOWS_DIR}/make-icon.sh ${PROJECT_SOURCE_DIR}/app/photocheck.svg ${PHOTOCHECK_ICON}
  DEPENDS ${PROJECT_SOURCE_DIR}/app/photocheck.svg ${PHOTOCHECK_WINDOWS_DIR}/make-icon.sh
  COMMENT "Making the Windows icon photocheck.ico")
add_custom_target(windows-icon DEPENDS ${PHOTOCHECK_ICON})

function(photocheck_windows_program target description)
  set(PHOTOCHECK_PROGRAM ${target})
  set(PHOTOCHECK_DESCRIPTION ${description})
  set(PHOTOCHECK_VERSION4 ${PROJECT_VERSION}.0)
  set(PHOTOCHECK_MANIFEST ${CMAKE_BINARY_DIR}/windows/${target}.manifest)
  set(resource ${CMAKE_BINARY_DIR}/windows/${target}.rc)
  configure_file(${PHOTOCHECK_WINDOWS_DIR}/program.manifest ${PHOTOCHECK_MANIFEST} @ONLY)
  configure_file(${PHOTOCHECK_WINDOWS_DIR}/program.rc.in ${resource} @ONLY)
  set_source_files_properties(${resource} PROPERTIES OBJECT_DEPENDS "${PHOTOCHECK_ICON};${PHOTOCHECK_MANIFEST}")
  target_sources(${target} PRIVATE ${resource})
  add_dependencies(${target} windows-icon)
endfunction()

function(photocheck_runtime_as_dlls)
  get_directory_property(options LINK_OPTIONS)
  list(REMOVE_ITEM options -static)
  set_directory_properties(PROPERTIES LINK_OPTIONS "${options}")
endfunction()
