// A module that the program carries as a file's bytes (embedded_file.h) and
// loads only when it is needed, so that a run that never needs it maps none
// of its libraries.
#pragma once

namespace rt::linux_program {

struct EmbeddedModule {
  const char* name;       // in messages: "the Qt module"
  const char* file_name;  // the in-memory file's, seen in /proc/PID/maps
  const char* start;      // the module's bytes
  const char* end;
  const char* entry;  // the one function it exports
};

// Loads the module and gives its entry. Ends the program with one line
// when it can't.
void* LoadEmbeddedModule(const EmbeddedModule& module);

}  // namespace rt::linux_program
