// Writers for the Windows picture files the program carries: an
// uncompressed 24-bit bitmap, an icon of one 256-colour image, an icon of
// several sizes and a cursor of one 16-colour image, each laid out byte for
// byte as Windows reads them.
#pragma once

#include <QImage>
#include <QPoint>
#include <string>
#include <vector>

std::string BitmapFile24(const QImage& image);
// Pixels with alpha 0 are transparent (AND mask set).
std::string IconFile256(const QImage& image);
// One icon of several sizes, smallest first: the palette image as
// IconFile256 writes it, the others with their alpha, and a 256-pixel PNG.
std::string IconFileOfSizes(const QImage& palette_image, const std::vector<QImage>& others,
                            const std::string& png_256);
std::string CursorFile16(const QImage& image, QPoint hot_spot);
