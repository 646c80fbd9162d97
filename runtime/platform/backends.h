// The platform's side of choosing a backend, as plain link-time functions:
// each platform (Linux, Windows, the tests' null platform) lists the
// backends it has, first choice first. The forms layer picks from the list
// (runtime/forms/backend_choice.h), or from those that KELVORA_BACKEND
// names; nothing else names a backend.
#pragma once

#include <span>

#include "runtime/platform/native.h"

namespace rt::native {

struct BackendEntry {
  const char* name;
  // Whether the backend can draw a form with these needs.
  bool (*serves)(const FormNeeds& needs);
  // The backend's object, made on first call; null when its window system
  // is not there.
  Backend* (*open)();
  // Whether it shows message boxes; the first entry that does shows the
  // messages of a run whose backend shows none.
  bool shows_messages;
};

// Called once, before anything else, with the program's arguments.
void StartProgram(int argc, char** argv);

std::span<const BackendEntry> PlatformBackends();

}  // namespace rt::native
