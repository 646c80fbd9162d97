# The last install rule, inlined into the project's install script just
# before cmake --install writes its list of installed files into the build
# tree. Where that tree cannot be written (install_checks.cmake found so), the
# list goes beside the installed documentation, and the install ends here,
# complete.
if(KELVORA_MANIFEST_IN_PREFIX)
  set(manifest "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/${KELVORA_DOCDIR}/install_manifest.txt")
  list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${manifest}")
  list(JOIN CMAKE_INSTALL_MANIFEST_FILES "\n" listed)
  file(WRITE "${manifest}" "${listed}\n")
  message(STATUS "The build tree cannot be written; the list of installed files is ${manifest}")
  return()
endif()
