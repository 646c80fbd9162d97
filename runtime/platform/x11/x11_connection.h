// The program's one connection to the X server, made on first need: a run
// that shows no form (/P, an unknown switch) needs no display at all.
#pragma once

#include <xcb/xcb.h>

#include <string>

namespace rt::x11 {

class X11Connection {
 public:
  // Ends the program with a message when there is no display to connect to.
  static X11Connection& Get();
  // Whether Get has connected; nothing connects here.
  static bool Made();

  xcb_connection_t* xcb() const { return connection_; }
  xcb_screen_t* screen() const { return screen_; }
  xcb_atom_t Atom(const std::string& name);
  // The resolution the desktop asks fonts to use (Xft.dpi), else 96.
  float DotsPerInch();
  // A round trip: the server has handled every request sent before.
  void Sync();

 private:
  X11Connection();

  xcb_connection_t* connection_;
  xcb_screen_t* screen_ = nullptr;
  float dots_per_inch_ = 0;
};

}  // namespace rt::x11
