# Run by CPack between staging and packing: the staged files take the commit's date
# (SOURCE_DATE_EPOCH), so the installer, which keeps each file's time, does not carry the
# time of the build. The zip sets that time by itself.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  return()
endif()
file(GLOB_RECURSE staged LIST_DIRECTORIES true "${CPACK_TEMPORARY_DIRECTORY}/*")
if(staged)
  execute_process(COMMAND touch --no-dereference --date=@$ENV{SOURCE_DATE_EPOCH} ${staged}
                  COMMAND_ERROR_IS_FATAL ANY)
endif()
