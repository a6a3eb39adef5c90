# The command-line tool's header-only libraries (CLI11, nlohmann-json) for the cross build: the
# Debian headers serve it too, but only their own folders may join the include path, never the
# host's /usr/include as a whole.
set(_ostrova_host_include ${PROJECT_BINARY_DIR}/host-include)
file(MAKE_DIRECTORY ${_ostrova_host_include})
foreach(dir CLI nlohmann)
  if(NOT EXISTS /usr/include/${dir})
    message(FATAL_ERROR "/usr/include/${dir} not found: install libcli11-dev and nlohmann-json3-dev")
  endif()
  file(CREATE_LINK /usr/include/${dir} ${_ostrova_host_include}/${dir} SYMBOLIC)
endforeach()
add_library(CLI11::CLI11 INTERFACE IMPORTED)
target_include_directories(CLI11::CLI11 SYSTEM INTERFACE ${_ostrova_host_include})
add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
target_include_directories(nlohmann_json::nlohmann_json SYSTEM INTERFACE ${_ostrova_host_include})
