// X error replies in words: the failed request and the error by name, the
// rendering extension's by its own numbers, each kind once, and a failure
// that leaves the rain nothing to draw with marked fatal.
#include <gtest/gtest.h>
#include <xcb/render.h>
#include <xcb/xcb.h>

#include "runtime/platform/x11/x11_errors.h"

namespace {

// Where Xorg usually puts the rendering extension.
constexpr rt::x11::RenderNumbers kRender{139, 142};

xcb_generic_error_t Error(uint8_t code, uint8_t major, uint16_t minor = 0) {
  xcb_generic_error_t error{};
  error.error_code = code;
  error.major_code = major;
  error.minor_code = minor;
  return error;
}

TEST(X11Errors, NameTheRequestAndTheError) {
  struct Case {
    xcb_generic_error_t error;
    const char* line;
    bool fatal;
  };
  const Case cases[] = {
      {Error(XCB_ALLOC, XCB_CREATE_PIXMAP),
       "kelvora: the X server refused what the rain draws with: Alloc in CreatePixmap (53.0)",
       true},
      {Error(XCB_MATCH, XCB_SET_INPUT_FOCUS), "kelvora: X error Match in SetInputFocus (42.0)",
       false},
      {Error(kRender.first_error + XCB_RENDER_PICT_FORMAT, kRender.major_opcode,
             XCB_RENDER_CREATE_PICTURE),
       "kelvora: the X server refused what the rain draws with: PictFormat in "
       "RenderCreatePicture (139.4)",
       true},
      {Error(kRender.first_error + XCB_RENDER_GLYPH_SET, kRender.major_opcode,
             XCB_RENDER_COMPOSITE_GLYPHS_32),
       "kelvora: X error GlyphSet in RenderCompositeGlyphs32 (139.25)", false},
      // A window gone (the daemon took it back) ends the program by its own event.
      {Error(XCB_DRAWABLE, XCB_CREATE_PIXMAP), "kelvora: X error Drawable in CreatePixmap (53.0)",
       false},
      {Error(200, 150, 7), "kelvora: X error error 200 in request 150.7", false},
  };
  for (const Case& test : cases) {
    const rt::x11::ErrorReport report = rt::x11::Describe(test.error, kRender);
    EXPECT_EQ(report.line, test.line);
    EXPECT_EQ(report.fatal, test.fatal) << test.line;
  }
}

TEST(X11Errors, WithoutTheRenderingExtensionHighNumbersAreUnnamed) {
  const rt::x11::ErrorReport report =
      rt::x11::Describe(Error(143, 139, XCB_RENDER_CREATE_PICTURE), rt::x11::RenderNumbers{});
  EXPECT_EQ(report.line, "kelvora: X error error 143 in request 139.4");
  EXPECT_FALSE(report.fatal);
}

TEST(X11Errors, EachKindOnce) {
  rt::x11::ErrorReporter reporter;
  EXPECT_TRUE(reporter.FirstOfItsKind(Error(XCB_MATCH, XCB_SET_INPUT_FOCUS), kRender));
  EXPECT_FALSE(reporter.FirstOfItsKind(Error(XCB_MATCH, XCB_SET_INPUT_FOCUS), kRender));
  EXPECT_TRUE(reporter.FirstOfItsKind(Error(XCB_VALUE, XCB_SET_INPUT_FOCUS), kRender));
  EXPECT_TRUE(reporter.FirstOfItsKind(Error(XCB_MATCH, XCB_COPY_AREA), kRender));
  EXPECT_TRUE(reporter.FirstOfItsKind(Error(XCB_MATCH, kRender.major_opcode, XCB_RENDER_COMPOSITE),
                                      kRender));
  EXPECT_FALSE(reporter.FirstOfItsKind(Error(XCB_MATCH, kRender.major_opcode, XCB_RENDER_COMPOSITE),
                                       kRender));
}

}  // namespace
