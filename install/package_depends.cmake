# Read by cpack: the packages of the libraries that the executable and the
# Qt module inside it link to, and the Qt plugin it loads.
include("${CPACK_KELVORA_LINKED_FILES}")
set(work "${CPACK_PACKAGE_DIRECTORY}/_CPack_Packages/kelvora-depends")
file(MAKE_DIRECTORY "${work}/debian")
# dpkg-shlibdeps wants a control file to exist, as CPack makes for itself.
file(WRITE "${work}/debian/control" "")
execute_process(COMMAND dpkg-shlibdeps -O ${KELVORA_LINKED_FILES}
                WORKING_DIRECTORY "${work}" OUTPUT_VARIABLE found RESULT_VARIABLE failed
                OUTPUT_STRIP_TRAILING_WHITESPACE)
if(failed OR NOT found MATCHES "^shlibs:Depends=")
  message(FATAL_ERROR "dpkg-shlibdeps found no dependencies for ${KELVORA_LINKED_FILES}")
endif()
string(REGEX REPLACE "^shlibs:Depends=" "" CPACK_DEBIAN_PACKAGE_DEPENDS "${found}")
# Qt's Wayland platform plugin: no library links it, Qt loads it by name.
string(APPEND CPACK_DEBIAN_PACKAGE_DEPENDS ", qt6-wayland")
