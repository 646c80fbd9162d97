# The Debian package, made by tools/package.sh with CPack's DEB generator.
# Library dependencies are computed by dpkg-shlibdeps at package time
# (package_depends.cmake): for the executable and for the Qt and Wayland
# modules it carries as bytes, which CPack's own look at the executable
# cannot see, in one call, so that a library two need is listed once.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kelvora)
set(CPACK_PACKAGE_CONTACT "kelvora maintainers <maintainers@users.noreply.c-seed-6aa85f9d.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "falling katakana screen saver")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "On a black screen, narrow columns of random half-width katakana fall,\n"
    "each coloured from black to the rain colour. The colour and the speed are\n"
    "chosen in a small Japanese settings dialog. The xscreensaver,\n"
    "mate-screensaver and xsecurelock daemons find it where they look.")
string(JOIN "" CPACK_DEBIAN_PACKAGE_DESCRIPTION ${CPACK_DEBIAN_PACKAGE_DESCRIPTION})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION x11)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Qt aborts without the platform plugin of a Wayland-only desktop; the
# dialog's title is drawn by the desktop, with a font of its own.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-ipafont-gothic | fonts-noto-cjk")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS OFF)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)
set(CPACK_STRIP_FILES ON)
# Stripped as Debian's own tools strip: without the compiler's .comment.
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_SOURCE_DIR}/package_strip.cmake)
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})

set(linked_files "\"$<TARGET_FILE:kelvora>\"")
foreach(module IN ITEMS kelvora_qt_module kelvora_wayland_module)
  if(TARGET ${module})
    string(APPEND linked_files " \"$<TARGET_FILE:${module}>\"")
  endif()
endforeach()
file(GENERATE OUTPUT ${CMAKE_BINARY_DIR}/package_linked_files.cmake
     CONTENT "set(KELVORA_LINKED_FILES ${linked_files})\n")
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_SOURCE_DIR}/package_depends.cmake)
set(CPACK_KELVORA_LINKED_FILES ${CMAKE_BINARY_DIR}/package_linked_files.cmake)

include(CPack)
