# The process resources of photos_norvalis: icon group 101, the application
# manifest and the version block, all in shell/resources/.
#
# Run as a script, this file writes the C++ source that declares the icon off
# Windows:
#   cmake -DICON=file.ico -DOUTPUT=file.cpp -P NorvalisResources.cmake

if(CMAKE_SCRIPT_MODE_FILE)
  file(READ "${ICON}" hex HEX)
  if(hex STREQUAL "")
    message(FATAL_ERROR "${ICON} is empty")
  endif()
  string(REGEX REPLACE "(..)" "0x\\1, " bytes "${hex}")
  # Twelve bytes a line.
  string(REPEAT "0x.., " 11 line)
  string(REGEX REPLACE "(${line}0x..,) " "\\1\n    " bytes "${bytes}")
  string(REGEX REPLACE " $" "" bytes "${bytes}")
  get_filename_component(icon_name "${ICON}" NAME)
  file(WRITE "${OUTPUT}" "\
// Written by cmake/NorvalisResources.cmake from ${icon_name}.
// The platform layer's LoadIconW finds icon 101 of the executable under this
// exported name.
extern \"C\" __attribute__((visibility(\"default\")))
const unsigned char win32_icon_resource_101[] = {
    ${bytes}
};
")
  return()
endif()

get_filename_component(NORVALIS_RESOURCES_DIR ${CMAKE_CURRENT_LIST_DIR}/../shell/resources ABSOLUTE)
set(NORVALIS_RESOURCES_MODULE ${CMAKE_CURRENT_LIST_FILE})
# The fourth part of the file version, after the project's three.
set(NORVALIS_BUILD_NUMBER 1)

if(WIN32)
  enable_language(RC)
endif()

# norvalis_windows_executable(TARGET): makes TARGET, the photos_norvalis
# executable, carry the program's resources. On Windows it is a GUI program
# entered at wWinMain, with the resources compiled in; elsewhere it exports
# its icon as the platform layer expects.
function(norvalis_windows_executable target)
  set(dir ${NORVALIS_RESOURCES_DIR})
  if(WIN32)
    set(version_dir ${CMAKE_CURRENT_BINARY_DIR}/${target}_resources)
    configure_file(${dir}/version.h.in ${version_dir}/version.h @ONLY)
    set(rc ${dir}/photos_norvalis.rc)
    target_sources(${target} PRIVATE ${rc})
    # windres writes no dependency file, so the files the script pulls in
    # are listed here.
    set_property(SOURCE ${rc} APPEND PROPERTY INCLUDE_DIRECTORIES ${dir} ${version_dir})
    set_property(SOURCE ${rc} APPEND PROPERTY OBJECT_DEPENDS
      ${dir}/resource.h
      ${dir}/photos_norvalis.ico
      ${dir}/photos_norvalis.exe.manifest
      ${version_dir}/version.h)
    target_link_options(${target} PRIVATE -municode -mwindows)
  else()
    set(icon ${dir}/photos_norvalis.ico)
    set(source ${CMAKE_CURRENT_BINARY_DIR}/${target}_icon_resource.cpp)
    add_custom_command(OUTPUT ${source}
      COMMAND ${CMAKE_COMMAND} -DICON=${icon} -DOUTPUT=${source} -P ${NORVALIS_RESOURCES_MODULE}
      DEPENDS ${icon} ${NORVALIS_RESOURCES_MODULE}
      COMMENT "Embedding the icon of ${target}"
      VERBATIM)
    target_sources(${target} PRIVATE ${source})
    set_target_properties(${target} PROPERTIES ENABLE_EXPORTS ON)
  endif()
endfunction()
