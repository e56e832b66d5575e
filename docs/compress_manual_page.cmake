# Run by CPack after it has installed the files into its staging folder:
# compresses the manual page there as Debian keeps its pages (gzip -9n: no
# name or time stamp in the file, so the package is the same at every build).
file(GLOB_RECURSE pages "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/jpg2dds.1")
list(FILTER pages INCLUDE REGEX "/man/man1/jpg2dds\\.1$")
if(NOT pages)
  message(FATAL_ERROR "no manual page below ${CPACK_TEMPORARY_INSTALL_DIRECTORY}")
endif()
foreach(page IN LISTS pages)
  execute_process(COMMAND gzip -9nf "${page}" RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "gzip ${page} failed: ${result}")
  endif()
endforeach()
