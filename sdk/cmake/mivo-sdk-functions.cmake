# mivo_add_plugin(NAME SOURCES...): a plug-in library for mivo, built from C
# (or C++) sources against the SDK's headers. The result is NAME.so, a shared
# object that exports only what the sources mark with MIVO_PLUGIN_EXPORT; the
# platform functions it calls are resolved against the mivo program when mivo
# loads it. Copy a gadget plug-in into the device's
# "\Program Files\mivo\GadgetPlugins\" folder (DEVICE/fs/Program Files/mivo/GadgetPlugins/).
function(mivo_add_plugin name)
  if(NOT ARGN)
    message(FATAL_ERROR "mivo_add_plugin(${name}): no sources")
  endif()
  add_library(${name} MODULE ${ARGN})
  target_link_libraries(${name} PRIVATE mivo::sdk)
  set_target_properties(${name} PROPERTIES
    PREFIX ""
    SUFFIX ".so"
    C_STANDARD 11
    C_STANDARD_REQUIRED ON
    C_VISIBILITY_PRESET hidden
    CXX_VISIBILITY_PRESET hidden
    POSITION_INDEPENDENT_CODE ON)
endfunction()
