# The codec libraries of the FLAC, Ogg Vorbis and Opus plug-ins, built once per flavour by
# tools/third-party.sh into a cache beside the build folders and linked statically, so each
# plug-in DLL needs nothing beyond the system's DLLs. Defines ox_flac, ox_vorbisfile, ox_opusfile.
set(OX_THIRD_PARTY_DIR "${PROJECT_SOURCE_DIR}/build/third-party" CACHE PATH "Cache of the built codec libraries")
execute_process(COMMAND bash "${PROJECT_SOURCE_DIR}/tools/third-party.sh" "${OX_ARCH}" "${OX_THIRD_PARTY_DIR}"
                RESULT_VARIABLE third_party_result)
if(NOT third_party_result EQUAL 0)
  message(FATAL_ERROR "tools/third-party.sh ${OX_ARCH} failed: the codec libraries are missing")
endif()
set(third_party "${OX_THIRD_PARTY_DIR}/${OX_ARCH}")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/tools/third-party.sh")

function(ox_third_party_library target)
  add_library(${target} INTERFACE)
  target_include_directories(${target} SYSTEM INTERFACE "${third_party}/include")
  foreach(lib ${ARGN})
    target_link_libraries(${target} INTERFACE "${third_party}/lib/lib${lib}.a")
  endforeach()
endfunction()
ox_third_party_library(ox_flac FLAC)
target_compile_definitions(ox_flac INTERFACE FLAC__NO_DLL)
ox_third_party_library(ox_vorbisfile vorbisfile vorbis ogg)
ox_third_party_library(ox_opusfile opusfile opus ogg)
target_include_directories(ox_opusfile SYSTEM INTERFACE "${third_party}/include/opus")
