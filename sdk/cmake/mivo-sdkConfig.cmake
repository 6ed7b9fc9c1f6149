# The mivo plug-in SDK: find_package(mivo-sdk) gives the target mivo::sdk (the
# headers) and the function mivo_add_plugin (mivo-sdk-functions.cmake).
get_filename_component(_mivo_sdk_prefix "${CMAKE_CURRENT_LIST_DIR}/../../.." ABSOLUTE)
if(NOT TARGET mivo::sdk)
  add_library(mivo::sdk INTERFACE IMPORTED)
  set_target_properties(mivo::sdk PROPERTIES INTERFACE_INCLUDE_DIRECTORIES "${_mivo_sdk_prefix}/include")
endif()
include("${CMAKE_CURRENT_LIST_DIR}/mivo-sdk-functions.cmake")
set(mivo-sdk_INCLUDE_DIR "${_mivo_sdk_prefix}/include")
unset(_mivo_sdk_prefix)
