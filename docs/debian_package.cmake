# Run by CPack after it has installed the files into its staging folder:
# compresses the manual page there as Debian keeps its pages, writes the
# package's changelog beside its copyright file, and tells lintian that the
# package is not meant for Debian's archive. gzip -9n stores no name or time
# stamp, so the package is the same at every build.
function(jpg2dds_compress file)
  execute_process(COMMAND gzip -9nf "${file}" RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "gzip ${file} failed: ${result}")
  endif()
  # Readable by all whatever the umask of whoever builds.
  execute_process(COMMAND chmod 0644 "${file}.gz")
endfunction()

file(GLOB_RECURSE pages "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/jpg2dds.1")
list(FILTER pages INCLUDE REGEX "/man/man1/jpg2dds\\.1$")
file(GLOB_RECURSE copyrights "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/copyright")
list(FILTER copyrights INCLUDE REGEX "/doc/jpg2dds/copyright$")
if(NOT pages OR NOT copyrights)
  message(FATAL_ERROR "no manual page or copyright file below ${CPACK_TEMPORARY_INSTALL_DIRECTORY}")
endif()
foreach(page IN LISTS pages)
  jpg2dds_compress("${page}")
endforeach()

# One entry for this release, dated at midnight UTC of the release day.
execute_process(COMMAND date -u -R -d "${CPACK_JPG2DDS_RELEASE_DATE}" OUTPUT_VARIABLE stamp
                OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "not a date: ${CPACK_JPG2DDS_RELEASE_DATE}")
endif()
foreach(copyright IN LISTS copyrights)
  get_filename_component(folder "${copyright}" DIRECTORY)
  file(WRITE "${folder}/changelog.Debian"
       "jpg2dds (${CPACK_PACKAGE_VERSION}-${CPACK_DEBIAN_PACKAGE_RELEASE}) unstable; urgency=medium\n\n"
       "  * Release ${CPACK_PACKAGE_VERSION}.\n\n"
       " -- ${CPACK_PACKAGE_CONTACT}  ${stamp}\n")
  jpg2dds_compress("${folder}/changelog.Debian")

  # The one changelog entry closes no bug: the package is Brightmill's own,
  # not an upload to Debian that closes its "intent to package" bug.
  string(REGEX REPLACE "/doc/jpg2dds/copyright$" "" share "${copyright}")
  file(MAKE_DIRECTORY "${share}/lintian/overrides")
  file(WRITE "${share}/lintian/overrides/jpg2dds"
       "# Not meant for Debian's archive: there is no bug of Debian's to close.\n"
       "jpg2dds: initial-upload-closes-no-bugs\n")
  execute_process(COMMAND chmod 0644 "${share}/lintian/overrides/jpg2dds")
endforeach()

# Every folder of the package open to all, whatever the umask of whoever
# builds it (CPack makes the staging folders with a plain mkdir).
execute_process(COMMAND find "${CPACK_TEMPORARY_INSTALL_DIRECTORY}" -mindepth 1 -type d -exec chmod 0755 {} +
                RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cannot open the folders below ${CPACK_TEMPORARY_INSTALL_DIRECTORY}")
endif()
