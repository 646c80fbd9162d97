# Run first by cmake --install: what would fail later fails here, before
# anything is copied.

# cmake --install ends by writing its list of installed files into the build
# tree. A user may install from a tree they cannot write (a shared or
# read-only checkout): then the list goes into the prefix instead
# (manifest_in_prefix.cmake), so that the install completes.
if(EXISTS "${KELVORA_MANIFEST}")
  set(manifest_place "${KELVORA_MANIFEST}")
else()
  get_filename_component(manifest_place "${KELVORA_MANIFEST}" DIRECTORY)
endif()
execute_process(COMMAND test -w "${manifest_place}" RESULT_VARIABLE KELVORA_MANIFEST_IN_PREFIX)

# The menu entry names the installed program by its full path, since a menu
# need not search ~/.local/bin; the prefix is known only now.
set(program "${CMAKE_INSTALL_PREFIX}/${KELVORA_BINDIR}/kelvora")
# A desktop entry's Exec quotes a path and escapes these characters in it.
string(REGEX REPLACE "([\"`$\\\\])" "\\\\\\1" quoted "${program}")
string(REPLACE "%" "%%" quoted "${quoted}")
set(KELVORA_EXEC "\"${quoted}\"")
file(READ "${KELVORA_SOURCE_DIR}/kelvora-settings.desktop.in" KELVORA_SETTINGS_ENTRY)
string(CONFIGURE "${KELVORA_SETTINGS_ENTRY}" KELVORA_SETTINGS_ENTRY @ONLY)

# The settings tool reads descriptions from its own folder only, so an
# install for one user has none; the README gives the list line instead.
file(REAL_PATH "$ENV{HOME}" home)
file(REAL_PATH "${CMAKE_INSTALL_PREFIX}" prefix)
string(FIND "${prefix}/" "${home}/" inside_home)
if(NOT inside_home EQUAL 0 OR "$ENV{HOME}" STREQUAL "")
  set(KELVORA_DESCRIBE_TO_DAEMON TRUE)
else()
  set(KELVORA_DESCRIBE_TO_DAEMON FALSE)
endif()
