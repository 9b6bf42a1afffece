# The application manifest every Windows executable of the suite carries (cmake/Utf8.manifest):
# resource type 24 (RT_MANIFEST), id 1, the one an executable's loader reads.
set(OX_UTF8_MANIFEST_RC "${CMAKE_BINARY_DIR}/Utf8Manifest.rc")
file(WRITE "${OX_UTF8_MANIFEST_RC}" "1 24 \"${CMAKE_CURRENT_LIST_DIR}/Utf8.manifest\"\n")
set_source_files_properties("${OX_UTF8_MANIFEST_RC}" PROPERTIES
  OBJECT_DEPENDS "${CMAKE_CURRENT_LIST_DIR}/Utf8.manifest")
# The sibling programs' variant (target property OX_DPI_AWARE): per-monitor DPI aware, common
# controls 6.
set(OX_DPI_MANIFEST_RC "${CMAKE_BINARY_DIR}/Utf8DpiManifest.rc")
file(WRITE "${OX_DPI_MANIFEST_RC}" "1 24 \"${CMAKE_CURRENT_LIST_DIR}/Utf8Dpi.manifest\"\n")
set_source_files_properties("${OX_DPI_MANIFEST_RC}" PROPERTIES
  OBJECT_DEPENDS "${CMAKE_CURRENT_LIST_DIR}/Utf8Dpi.manifest")

# Attaches the manifest to every executable defined in `dir` and the folders below it: the player,
# the tools, the tests and the benchmarks alike, so that a new program cannot be left without it.
function(ox_attach_utf8_manifest dir)
  if(NOT WIN32)
    return()
  endif()
  get_property(targets DIRECTORY "${dir}" PROPERTY BUILDSYSTEM_TARGETS)
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "EXECUTABLE")
      get_target_property(dpi_aware ${target} OX_DPI_AWARE)
      if(dpi_aware)
        target_sources(${target} PRIVATE "${OX_DPI_MANIFEST_RC}")
      else()
        target_sources(${target} PRIVATE "${OX_UTF8_MANIFEST_RC}")
      endif()
    endif()
  endforeach()
  get_property(subdirs DIRECTORY "${dir}" PROPERTY SUBDIRECTORIES)
  foreach(subdir IN LISTS subdirs)
    ox_attach_utf8_manifest("${subdir}")
  endforeach()
endfunction()
