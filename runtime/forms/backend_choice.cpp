#include "runtime/forms/backend_choice.h"

#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "runtime/platform/backends.h"
#include "runtime/platform/fatal_error.h"

namespace rt {
namespace {

native::Backend* chosen = nullptr;
bool chosen_shows_messages = false;
const char* chosen_name = nullptr;

bool Named(const char* variable) {
  const char* value = std::getenv(variable);
  return value != nullptr && *value != '\0';
}

std::string Choices() {
  std::string choices;
  for (const native::BackendEntry& entry : native::PlatformBackends()) {
    choices += (choices.empty() ? "" : ", ") + std::string(entry.name);
  }
  return choices;
}

const native::BackendEntry* EntryNamed(std::string_view name) {
  for (const native::BackendEntry& entry : native::PlatformBackends()) {
    if (name == entry.name) return &entry;
  }
  return nullptr;
}

// The entries to choose from, first choice first: those that KELVORA_BACKEND
// names (a comma list), else the platform's whole list.
std::vector<const native::BackendEntry*> Candidates() {
  std::vector<const native::BackendEntry*> candidates;
  if (!Named("KELVORA_BACKEND")) {
    for (const native::BackendEntry& entry : native::PlatformBackends()) {
      candidates.push_back(&entry);
    }
    return candidates;
  }
  std::string_view names = std::getenv("KELVORA_BACKEND");
  while (!names.empty()) {
    const size_t comma = names.find(',');
    const std::string_view name = names.substr(0, comma);
    const native::BackendEntry* entry = EntryNamed(name);
    if (entry == nullptr) {
      native::FailFatally("KELVORA_BACKEND names '" + std::string(name) +
                          "', which is none of: " + Choices());
    }
    candidates.push_back(entry);
    names = comma == std::string_view::npos ? std::string_view() : names.substr(comma + 1);
  }
  return candidates;
}

native::Backend* FirstServing(const native::FormNeeds& needs, bool& shows_messages) {
  for (const native::BackendEntry* entry : Candidates()) {
    if (!entry->serves(needs)) continue;
    if (native::Backend* backend = entry->open()) {
      shows_messages = entry->shows_messages;
      chosen_name = entry->name;
      return backend;
    }
  }
  native::FailFatally(Named("KELVORA_BACKEND")
                          ? "none of the backends that KELVORA_BACKEND names can show this window"
                          : "no display to show a window on");
}

// The first backend of the platform's list that shows message boxes.
native::Backend* FirstShowingMessages() {
  for (const native::BackendEntry& entry : native::PlatformBackends()) {
    if (!entry.shows_messages) continue;
    if (native::Backend* backend = entry.open()) return backend;
  }
  return nullptr;
}

}  // namespace

native::Backend& BackendFor(const native::FormNeeds& needs) {
  if (chosen == nullptr) {
    chosen = FirstServing(needs, chosen_shows_messages);
    if (Named("KELVORA_DEBUG")) std::fprintf(stderr, "kelvora: backend %s\n", chosen_name);
  }
  return *chosen;
}

native::Backend& RunBackend() {
  bool shows_messages = false;
  return chosen != nullptr ? *chosen : *FirstServing({}, shows_messages);
}

void ShowRunMessage(const std::string& text, native::MessageKind kind) {
  native::Backend& run = RunBackend();
  if (kind == native::MessageKind::kError && run.HidesMessages()) return;
  native::Backend* boxes = chosen_shows_messages ? chosen : FirstShowingMessages();
  (boxes != nullptr ? *boxes : run).ShowMessage(text, kind);
}

void ExitProcess(int status) {
  RunBackend().ExitProcess(status);
  std::_Exit(status);  // a backend's end never returns; this one is sure
}

void UseBackend(native::Backend& backend) {
  chosen = &backend;
  chosen_shows_messages = true;
}

namespace native {

void FailFatally(const std::string& what) {
  std::fprintf(stderr, "kelvora: %s\n", what.c_str());
  std::fflush(nullptr);
  if (chosen != nullptr) chosen->ExitProcess(1);
  std::_Exit(1);
}

}  // namespace native

}  // namespace rt
