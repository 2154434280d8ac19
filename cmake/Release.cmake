# What the shipped programs take from the build: the one version number and a reproducible,
# stripped link. Included after the Varnox target is defined.

# The version is kept only in project(... VERSION); the version resource gets it through a
# generated header, scripts/package (file names, installer, Add/Remove Programs) through
# varnox-version.txt in the build folder: the version, then the same in the four parts that
# Windows' version fields take.
foreach(part MAJOR MINOR PATCH TWEAK)
  set(VARNOX_VERSION_${part} "${PROJECT_VERSION_${part}}")
  if(VARNOX_VERSION_${part} STREQUAL "")
    set(VARNOX_VERSION_${part} 0)
  endif()
endforeach()
set(varnox_version_header ${CMAKE_BINARY_DIR}/generated/varnox_version.h)
configure_file(${CMAKE_SOURCE_DIR}/resources/version.h.in ${varnox_version_header} @ONLY)
set(VARNOX_VERSION4
  ${VARNOX_VERSION_MAJOR}.${VARNOX_VERSION_MINOR}.${VARNOX_VERSION_PATCH}.${VARNOX_VERSION_TWEAK})
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/varnox-version.txt
  CONTENT "${PROJECT_VERSION}\n${VARNOX_VERSION4}\n")
set_property(SOURCE ${CMAKE_SOURCE_DIR}/resources/varnox.rc ${CMAKE_SOURCE_DIR}/resources/cli.rc
  APPEND PROPERTY OBJECT_DEPENDS ${varnox_version_header})

# Building the same commit twice gives the same bytes: no link time stamp in the PE header and
# no build-folder paths in the code.
foreach(shipped Varnox varnox-cli)
  target_include_directories(${shipped} PRIVATE ${CMAKE_BINARY_DIR}/generated)
  target_link_options(${shipped} PRIVATE -Wl,--no-insert-timestamp $<$<CONFIG:Release>:-s>)
  target_compile_options(${shipped} PRIVATE -ffile-prefix-map=${CMAKE_SOURCE_DIR}=.)
  # A large found-files list needs address space: on 64-bit Windows a 32-bit program marked
  # large-address-aware gets 4 GiB instead of 2.
  if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
    target_link_options(${shipped} PRIVATE -Wl,--large-address-aware)
  endif()
endforeach()
