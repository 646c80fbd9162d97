// Client-area points, in pixels at 96 dots per inch, of the settings
// dialog's controls that the whole-program tests look at or click.
#pragma once

#include <QPoint>
#include <QSize>

inline constexpr QPoint kGreenSwatch{16 + 12 + 28 + 11, 8 + 16 + 40 + 7};
inline constexpr QPoint kRedSwatch{16 + 12 + 64 + 11, 8 + 16 + 40 + 7};
inline constexpr QPoint kBlueSwatch{16 + 12 + 100 + 11, 8 + 16 + 40 + 7};
inline constexpr QPoint kBlueOption{16 + 12 + 104 + 11, 8 + 16 + 20 + 9};
inline constexpr QPoint kNormalOption{16 + 172 + 100 + 8, 8 + 16 + 24 + 6};
inline constexpr QPoint kOkButton{224 + 29, 176 + 10};
inline constexpr QPoint kAddress{100 + 40, 136 + 8};
inline constexpr QPoint kBackground{4, 195};  // no control covers it
inline constexpr QSize kDialogSize{361, 202};
