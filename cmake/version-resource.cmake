# ostrova_version_resource(TARGET DESCRIPTION): adds to a Windows program the version resource
# of cmake/version.rc.in, from the project's version.
function(ostrova_version_resource target description)
  set(OSTROVA_RC_NAME ${target})
  set(OSTROVA_RC_DESCRIPTION "${description}")
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}-version.rc)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/version.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
endfunction()
