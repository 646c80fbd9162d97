# Run by cmake --install after the copies: the menu entry, composed by
# install_checks.cmake, is written straight into its place (nothing into the
# build tree), and for a prefix outside the installing user's home the
# daemon's description of kelvora.
set(entry "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/${KELVORA_DATADIR}/applications/kelvora-settings.desktop")
message(STATUS "Installing: ${entry}")
file(WRITE "${entry}" "${KELVORA_SETTINGS_ENTRY}")
list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${entry}")

if(KELVORA_DESCRIBE_TO_DAEMON)
  file(INSTALL DESTINATION "${KELVORA_XSCREENSAVER_CONFIG_DIR}" TYPE FILE
       FILES "${KELVORA_SOURCE_DIR}/kelvora.xml")
endif()
