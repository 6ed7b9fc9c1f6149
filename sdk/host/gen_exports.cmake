# Makes the host's side of the plug-in platform from the SDK's header, so the
# two cannot drift apart: every function the header declares with MIVOAPI
# becomes a C-linkage function of the mivo program that calls the platform's
# own (whose exact signature it must have, or the build fails), and its name
# goes into the linker's list of what the program exports to the libraries
# it loads.
#
#   cmake -DHEADER=platform.h -DOUT_CPP=exports.cpp -DOUT_LIST=exports.list -P gen_exports.cmake
#
# The header keeps to one form: "MIVOAPI <return type> <name>(<type> <name>, ...);"
# on one or more lines, every parameter named, no function-pointer parameters
# spelled out (a typedef names them).
file(READ ${HEADER} _text)
# (The semicolons stay out of the matches: a CMake list would take them for its own.)
string(REGEX MATCHALL "\nMIVOAPI [^;]+" _decls "${_text}")
if(NOT _decls)
  message(FATAL_ERROR "${HEADER}: no MIVOAPI declarations")
endif()

set(_cpp "// Made from ${HEADER} by gen_exports.cmake: do not edit.\n")
string(APPEND _cpp "#include \"sdk/host/host_api.h\"\n\n")
string(APPEND _cpp "namespace sdk_host_exports {\n\nextern \"C\" {\n\n")
set(_list "{\n")
set(_count 0)
foreach(_decl IN LISTS _decls)
  string(REGEX REPLACE "[ \t\r\n]+" " " _decl "${_decl}")
  string(STRIP "${_decl}" _decl)
  if(NOT _decl MATCHES "^MIVOAPI ([^(]*[ *])([A-Za-z_][A-Za-z0-9_]*) ?\\(([^)]*)\\)$")
    message(FATAL_ERROR "${HEADER}: cannot read the declaration \"${_decl}\"")
  endif()
  string(STRIP "${CMAKE_MATCH_1}" _ret)
  set(_name ${CMAKE_MATCH_2})
  string(STRIP "${CMAKE_MATCH_3}" _params)
  set(_args "")
  if(NOT _params STREQUAL "void")
    string(REPLACE "," ";" _plist "${_params}")
    foreach(_p IN LISTS _plist)
      string(STRIP "${_p}" _p)
      if(NOT _p MATCHES "[ *]([A-Za-z_][A-Za-z0-9_]*)$")
        message(FATAL_ERROR "${HEADER}: ${_name}: the parameter \"${_p}\" has no name")
      endif()
      list(APPEND _args ${CMAKE_MATCH_1})
    endforeach()
  endif()
  string(REPLACE ";" ", " _args "${_args}")
  string(APPEND _cpp "${_ret} ${_name}(${_params}) {\n")
  string(APPEND _cpp "  constexpr ${_ret} (*platform)(${_params}) = &::${_name};\n")
  string(APPEND _cpp "  return platform(${_args});\n}\n\n")
  string(APPEND _list "  ${_name};\n")
  math(EXPR _count "${_count} + 1")
endforeach()
string(APPEND _cpp "}  // extern \"C\"\n\n}  // namespace sdk_host_exports\n\n")
string(APPEND _cpp "namespace sdk_host {\n\n")
string(APPEND _cpp "int ExportedFunctionCount() { return ${_count}; }\n\n}  // namespace sdk_host\n")
string(APPEND _list "};\n")

# Written only when changed, so an unchanged header rebuilds nothing.
foreach(_pair "OUT_CPP;_cpp" "OUT_LIST;_list")
  list(GET _pair 0 _var)
  list(GET _pair 1 _content)
  set(_old "")
  if(EXISTS ${${_var}})
    file(READ ${${_var}} _old)
  endif()
  if(NOT _old STREQUAL "${${_content}}")
    file(WRITE ${${_var}} "${${_content}}")
  endif()
endforeach()
