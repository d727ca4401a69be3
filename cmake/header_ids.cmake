# Lists every parameter and information-item macro the public header defines,
# as TORVA_HEADER_PARAM(name) / TORVA_HEADER_INFO(name) lines, so that the
# library checks at compile time that each has its registry row. Regenerated
# whenever the header changes. (The sample information codes QX_IINFO_SAMP_*
# belong to the sampling functions, not to QXgetInfo.)
set(_header ${CMAKE_CURRENT_SOURCE_DIR}/include/torva.h)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${_header})
file(STRINGS ${_header} _lines REGEX "^#define[ \t]+QX_[IDS](PARAM|INFO)_[A-Z0-9_]+[ \t]+-?[0-9]+")
set(_out "// Generated from include/torva.h by cmake/header_ids.cmake.\n")
foreach(_line IN LISTS _lines)
  string(REGEX REPLACE "^#define[ \t]+(QX_[IDS](PARAM|INFO)_[A-Z0-9_]+).*" "\\1" _name "${_line}")
  if(_name MATCHES "^QX_[IDS]INFO_SAMP_")
    continue()
  endif()
  if(_name MATCHES "^QX_[IDS]PARAM_")
    string(APPEND _out "TORVA_HEADER_PARAM(${_name})\n")
  else()
    string(APPEND _out "TORVA_HEADER_INFO(${_name})\n")
  endif()
endforeach()
file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/generated/torva_header_ids.inc.new "${_out}")
configure_file(${CMAKE_CURRENT_BINARY_DIR}/generated/torva_header_ids.inc.new
  ${CMAKE_CURRENT_BINARY_DIR}/generated/torva_header_ids.inc COPYONLY)
