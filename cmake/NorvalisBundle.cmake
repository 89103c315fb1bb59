# The bundle is laid out like the installed program so that it runs from the
# build tree.
set(NORVALIS_BUNDLE_DIR ${CMAKE_BINARY_DIR}/bundle)

# norvalis_add_bundle_library(NAME SOURCES...): a shared library that stands
# in for a Windows DLL of that name, placed beside the executable. On Windows
# it carries the DLL's own name (no "lib"); elsewhere it calls Windows through
# the platform layer.
function(norvalis_add_bundle_library name)
  add_library(${name} SHARED ${ARGN})
  target_link_libraries(${name} PRIVATE norvalis_options)
  if(WIN32)
    set_target_properties(${name} PROPERTIES PREFIX "")
  else()
    target_link_libraries(${name} PUBLIC win32)
  endif()
  set_target_properties(${name} PROPERTIES
    LIBRARY_OUTPUT_DIRECTORY ${NORVALIS_BUNDLE_DIR}
    RUNTIME_OUTPUT_DIRECTORY ${NORVALIS_BUNDLE_DIR})
endfunction()
