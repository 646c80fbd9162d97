#include "runtime/platform/x11/x11_connection.h"

#include <cstdlib>
#include <map>

#include "runtime/platform/fatal_error.h"
#include "runtime/platform/linux/displays.h"

namespace rt::x11 {
namespace {

X11Connection* made = nullptr;

// The number after "Xft.dpi:" at the start of a line of the resource
// database text, or 0.
float XftDpiIn(const std::string& resources) {
  const std::string key = "Xft.dpi:";
  for (size_t at = resources.find(key); at != std::string::npos; at = resources.find(key, at + 1)) {
    if (at == 0 || resources[at - 1] == '\n')
      return std::strtof(resources.c_str() + at + key.size(), nullptr);
  }
  return 0;
}

}  // namespace

X11Connection& X11Connection::Get() {
  if (made == nullptr) made = new X11Connection();  // kept to the end: windows refer to it
  return *made;
}

bool X11Connection::Made() { return made != nullptr; }

X11Connection::X11Connection() {
  int screen_number = 0;
  connection_ = xcb_connect(nullptr, &screen_number);
  if (xcb_connection_has_error(connection_) != 0) {
    linux_program::RequireADisplay();  // with neither named, the line naming both
    native::FailFatally("cannot open the X display");
  }
  auto roots = xcb_setup_roots_iterator(xcb_get_setup(connection_));
  for (int i = 0; i < screen_number && roots.rem > 1; ++i) xcb_screen_next(&roots);
  screen_ = roots.data;
}

xcb_atom_t X11Connection::Atom(const std::string& name) {
  static std::map<std::string, xcb_atom_t> atoms;
  if (const auto found = atoms.find(name); found != atoms.end()) return found->second;
  xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
      connection_,
      xcb_intern_atom(connection_, 0, static_cast<uint16_t>(name.size()), name.c_str()), nullptr);
  const xcb_atom_t atom = reply != nullptr ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
  std::free(reply);
  return atoms[name] = atom;
}

float X11Connection::DotsPerInch() {
  if (dots_per_inch_ > 0) return dots_per_inch_;
  xcb_get_property_reply_t* reply = xcb_get_property_reply(
      connection_,
      xcb_get_property(connection_, 0, screen_->root, XCB_ATOM_RESOURCE_MANAGER, XCB_ATOM_STRING, 0,
                       1 << 20),
      nullptr);
  float dpi = 0;
  if (reply != nullptr) {
    dpi = XftDpiIn(std::string(static_cast<const char*>(xcb_get_property_value(reply)),
                               static_cast<size_t>(xcb_get_property_value_length(reply))));
  }
  std::free(reply);
  dots_per_inch_ = dpi > 0 ? dpi : 96;
  return dots_per_inch_;
}

void X11Connection::Sync() {
  std::free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
}

}  // namespace rt::x11
