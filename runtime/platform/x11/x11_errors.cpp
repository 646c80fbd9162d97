#include "runtime/platform/x11/x11_errors.h"

#include <xcb/render.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "runtime/platform/fatal_error.h"

namespace rt::x11 {
namespace {

// The core protocol's requests by opcode.
constexpr std::array<std::string_view, 128> kCoreRequests = {"",
                                                             "CreateWindow",
                                                             "ChangeWindowAttributes",
                                                             "GetWindowAttributes",
                                                             "DestroyWindow",
                                                             "DestroySubwindows",
                                                             "ChangeSaveSet",
                                                             "ReparentWindow",
                                                             "MapWindow",
                                                             "MapSubwindows",
                                                             "UnmapWindow",
                                                             "UnmapSubwindows",
                                                             "ConfigureWindow",
                                                             "CirculateWindow",
                                                             "GetGeometry",
                                                             "QueryTree",
                                                             "InternAtom",
                                                             "GetAtomName",
                                                             "ChangeProperty",
                                                             "DeleteProperty",
                                                             "GetProperty",
                                                             "ListProperties",
                                                             "SetSelectionOwner",
                                                             "GetSelectionOwner",
                                                             "ConvertSelection",
                                                             "SendEvent",
                                                             "GrabPointer",
                                                             "UngrabPointer",
                                                             "GrabButton",
                                                             "UngrabButton",
                                                             "ChangeActivePointerGrab",
                                                             "GrabKeyboard",
                                                             "UngrabKeyboard",
                                                             "GrabKey",
                                                             "UngrabKey",
                                                             "AllowEvents",
                                                             "GrabServer",
                                                             "UngrabServer",
                                                             "QueryPointer",
                                                             "GetMotionEvents",
                                                             "TranslateCoordinates",
                                                             "WarpPointer",
                                                             "SetInputFocus",
                                                             "GetInputFocus",
                                                             "QueryKeymap",
                                                             "OpenFont",
                                                             "CloseFont",
                                                             "QueryFont",
                                                             "QueryTextExtents",
                                                             "ListFonts",
                                                             "ListFontsWithInfo",
                                                             "SetFontPath",
                                                             "GetFontPath",
                                                             "CreatePixmap",
                                                             "FreePixmap",
                                                             "CreateGC",
                                                             "ChangeGC",
                                                             "CopyGC",
                                                             "SetDashes",
                                                             "SetClipRectangles",
                                                             "FreeGC",
                                                             "ClearArea",
                                                             "CopyArea",
                                                             "CopyPlane",
                                                             "PolyPoint",
                                                             "PolyLine",
                                                             "PolySegment",
                                                             "PolyRectangle",
                                                             "PolyArc",
                                                             "FillPoly",
                                                             "PolyFillRectangle",
                                                             "PolyFillArc",
                                                             "PutImage",
                                                             "GetImage",
                                                             "PolyText8",
                                                             "PolyText16",
                                                             "ImageText8",
                                                             "ImageText16",
                                                             "CreateColormap",
                                                             "FreeColormap",
                                                             "CopyColormapAndFree",
                                                             "InstallColormap",
                                                             "UninstallColormap",
                                                             "ListInstalledColormaps",
                                                             "AllocColor",
                                                             "AllocNamedColor",
                                                             "AllocColorCells",
                                                             "AllocColorPlanes",
                                                             "FreeColors",
                                                             "StoreColors",
                                                             "StoreNamedColor",
                                                             "QueryColors",
                                                             "LookupColor",
                                                             "CreateCursor",
                                                             "CreateGlyphCursor",
                                                             "FreeCursor",
                                                             "RecolorCursor",
                                                             "QueryBestSize",
                                                             "QueryExtension",
                                                             "ListExtensions",
                                                             "ChangeKeyboardMapping",
                                                             "GetKeyboardMapping",
                                                             "ChangeKeyboardControl",
                                                             "GetKeyboardControl",
                                                             "Bell",
                                                             "ChangePointerControl",
                                                             "GetPointerControl",
                                                             "SetScreenSaver",
                                                             "GetScreenSaver",
                                                             "ChangeHosts",
                                                             "ListHosts",
                                                             "SetAccessControl",
                                                             "SetCloseDownMode",
                                                             "KillClient",
                                                             "RotateProperties",
                                                             "ForceScreenSaver",
                                                             "SetPointerMapping",
                                                             "GetPointerMapping",
                                                             "SetModifierMapping",
                                                             "GetModifierMapping",
                                                             "",
                                                             "",
                                                             "",
                                                             "",
                                                             "",
                                                             "",
                                                             "",
                                                             "NoOperation"};

// The rendering extension's requests by minor opcode.
constexpr std::array<std::string_view, 37> kRenderRequests = {"QueryVersion",
                                                              "QueryPictFormats",
                                                              "QueryPictIndexValues",
                                                              "",
                                                              "CreatePicture",
                                                              "ChangePicture",
                                                              "SetPictureClipRectangles",
                                                              "FreePicture",
                                                              "Composite",
                                                              "",
                                                              "Trapezoids",
                                                              "Triangles",
                                                              "TriStrip",
                                                              "TriFan",
                                                              "",
                                                              "",
                                                              "",
                                                              "CreateGlyphSet",
                                                              "ReferenceGlyphSet",
                                                              "FreeGlyphSet",
                                                              "AddGlyphs",
                                                              "",
                                                              "FreeGlyphs",
                                                              "CompositeGlyphs8",
                                                              "CompositeGlyphs16",
                                                              "CompositeGlyphs32",
                                                              "FillRectangles",
                                                              "CreateCursor",
                                                              "SetPictureTransform",
                                                              "QueryFilters",
                                                              "SetPictureFilter",
                                                              "CreateAnimCursor",
                                                              "AddTraps",
                                                              "CreateSolidFill",
                                                              "CreateLinearGradient",
                                                              "CreateRadialGradient",
                                                              "CreateConicalGradient"};

constexpr std::array<std::string_view, 18> kCoreErrors = {
    "",         "Request",  "Value",    "Window",   "Pixmap", "Atom",
    "Cursor",   "Font",     "Match",    "Drawable", "Access", "Alloc",
    "Colormap", "GContext", "IDChoice", "Name",     "Length", "Implementation"};

constexpr std::array<std::string_view, 5> kRenderErrors = {"PictFormat", "Picture", "PictOp",
                                                           "GlyphSet", "Glyph"};

template <size_t N>
std::string_view Named(const std::array<std::string_view, N>& names, size_t index) {
  return index < N ? names[index] : std::string_view();
}

bool IsRender(uint8_t major, const RenderNumbers& render) {
  return render.major_opcode != 0 && major == render.major_opcode;
}

std::string RequestName(uint8_t major, uint16_t minor, const RenderNumbers& render) {
  const std::string_view name = IsRender(major, render) ? Named(kRenderRequests, minor)
                                : major < 128           ? Named(kCoreRequests, major)
                                                        : std::string_view();
  if (name.empty()) return "request " + std::to_string(major) + "." + std::to_string(minor);
  return (IsRender(major, render) ? "Render" : "") + std::string(name) + " (" +
         std::to_string(major) + "." + std::to_string(minor) + ")";
}

std::string ErrorName(uint8_t code, const RenderNumbers& render) {
  std::string_view name = Named(kCoreErrors, code);
  if (render.major_opcode != 0 && code >= render.first_error)
    name = Named(kRenderErrors, code - render.first_error);
  return name.empty() ? "error " + std::to_string(code) : std::string(name);
}

// The requests that make what drawing needs: the window, its graphics
// context, pixmaps, pictures, solid colours and glyphs. Any other failure
// costs at most one frame or one column; so does one on a window that is
// gone, since its end (a daemon taking its window back) ends the program.
bool LeavesNothingToDrawWith(uint8_t code, uint8_t major, uint16_t minor,
                             const RenderNumbers& render) {
  if (code == XCB_WINDOW || code == XCB_DRAWABLE) return false;
  if (IsRender(major, render)) {
    return minor == XCB_RENDER_CREATE_PICTURE || minor == XCB_RENDER_CREATE_GLYPH_SET ||
           minor == XCB_RENDER_ADD_GLYPHS || minor == XCB_RENDER_CREATE_SOLID_FILL;
  }
  return major == XCB_CREATE_WINDOW || major == XCB_CREATE_GC || major == XCB_CREATE_PIXMAP;
}

}  // namespace

ErrorReport Describe(const xcb_generic_error_t& error, const RenderNumbers& render) {
  const std::string what = ErrorName(error.error_code, render) + " in " +
                           RequestName(error.major_code, error.minor_code, render);
  if (LeavesNothingToDrawWith(error.error_code, error.major_code, error.minor_code, render))
    return {"kelvora: the X server refused what the rain draws with: " + what, true};
  return {"kelvora: X error " + what, false};
}

std::optional<ErrorReport> ErrorReporter::FirstOfItsKind(const xcb_generic_error_t& error,
                                                         const RenderNumbers& render) {
  if (!seen_.emplace(error.error_code, error.major_code, error.minor_code).second)
    return std::nullopt;
  return Describe(error, render);
}

void ReportError(xcb_connection_t* connection, const xcb_generic_error_t& error) {
  static ErrorReporter reporter;
  RenderNumbers render;
  if (const xcb_query_extension_reply_t* extension =
          xcb_get_extension_data(connection, &xcb_render_id);
      extension != nullptr && extension->present != 0) {
    render = {extension->major_opcode, extension->first_error};
  }
  const std::optional<ErrorReport> report = reporter.FirstOfItsKind(error, render);
  if (!report) return;
  if (report->fatal) native::FailFatally(report->line.substr(std::strlen("kelvora: ")));
  std::fprintf(stderr, "%s\n", report->line.c_str());
}

}  // namespace rt::x11
