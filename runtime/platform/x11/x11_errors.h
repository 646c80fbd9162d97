// X error replies put into words: the request that failed and why, each
// kind said once on standard error; a failure that leaves the rain nothing
// to draw with ends the program.
#pragma once

#include <xcb/xcb.h>

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <tuple>

namespace rt::x11 {

// Where the server placed the rendering extension's requests and errors.
struct RenderNumbers {
  uint8_t major_opcode = 0;  // 0: the server has no such extension
  uint8_t first_error = 0;
};

struct ErrorReport {
  std::string line;  // one line, without its end
  bool fatal = false;
};

// The error in words: "kelvora: X error Alloc in CreatePixmap (53.0)".
// Fatal when the failed request made something drawing needs.
ErrorReport Describe(const xcb_generic_error_t& error, const RenderNumbers& render);

class ErrorReporter {
 public:
  // The report of an error of a kind not yet reported, else nothing.
  std::optional<ErrorReport> FirstOfItsKind(const xcb_generic_error_t& error,
                                            const RenderNumbers& render);

 private:
  std::set<std::tuple<uint8_t, uint8_t, uint16_t>> seen_;
};

// Reports the error on standard error, once per kind; a fatal one ends the
// program with status 1.
void ReportError(xcb_connection_t* connection, const xcb_generic_error_t& error);

}  // namespace rt::x11
