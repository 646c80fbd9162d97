# Read by cpack: the libraries of the Qt module inside the executable join
# the dependencies that dpkg-shlibdeps finds for the executable itself.
include("${CPACK_KELVORA_MODULE_FILE}")
set(work "${CPACK_PACKAGE_DIRECTORY}/_CPack_Packages/module-depends")
file(MAKE_DIRECTORY "${work}/debian")
# dpkg-shlibdeps wants a control file to exist, as CPack makes for itself.
file(WRITE "${work}/debian/control" "")
execute_process(COMMAND dpkg-shlibdeps -O "${KELVORA_QT_MODULE}"
                WORKING_DIRECTORY "${work}" OUTPUT_VARIABLE found RESULT_VARIABLE failed
                OUTPUT_STRIP_TRAILING_WHITESPACE)
if(failed OR NOT found MATCHES "^shlibs:Depends=")
  message(FATAL_ERROR "dpkg-shlibdeps found no dependencies for ${KELVORA_QT_MODULE}")
endif()
string(REGEX REPLACE "^shlibs:Depends=" "" CPACK_DEBIAN_PACKAGE_DEPENDS "${found}")
