# Run by cmake --install: the menu entry, which names the installed program by
# its full path (a menu need not search ~/.local/bin), and for a prefix
# outside the installing user's home the daemon's description of kelvora.
set(program "${CMAKE_INSTALL_PREFIX}/${KELVORA_BINDIR}/kelvora")

# A desktop entry's Exec quotes a path and escapes these characters in it.
string(REGEX REPLACE "([\"`$\\\\])" "\\\\\\1" quoted "${program}")
string(REPLACE "%" "%%" quoted "${quoted}")
set(KELVORA_EXEC "\"${quoted}\"")
configure_file("${KELVORA_SOURCE_DIR}/kelvora-settings.desktop.in"
               "${KELVORA_BINARY_DIR}/kelvora-settings.desktop" @ONLY)
file(INSTALL DESTINATION "${CMAKE_INSTALL_PREFIX}/${KELVORA_DATADIR}/applications" TYPE FILE
     FILES "${KELVORA_BINARY_DIR}/kelvora-settings.desktop")

# The settings tool reads descriptions from its own folder only, so an
# install for one user has none; the README gives the list line instead.
file(REAL_PATH "$ENV{HOME}" home)
file(REAL_PATH "${CMAKE_INSTALL_PREFIX}" prefix)
string(FIND "${prefix}/" "${home}/" inside_home)
if(NOT inside_home EQUAL 0 OR "$ENV{HOME}" STREQUAL "")
  file(INSTALL DESTINATION "${KELVORA_XSCREENSAVER_CONFIG_DIR}" TYPE FILE
       FILES "${KELVORA_SOURCE_DIR}/kelvora.xml")
endif()
