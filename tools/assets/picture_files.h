// Writers for the Windows picture files the program carries: an
// uncompressed 24-bit bitmap, an icon of one 256-colour image and a cursor
// of one 16-colour image, each laid out byte for byte as Windows reads them.
#pragma once

#include <QImage>
#include <QPoint>
#include <string>

std::string BitmapFile24(const QImage& image);
// Pixels with alpha 0 are transparent (AND mask set).
std::string IconFile256(const QImage& image);
std::string CursorFile16(const QImage& image, QPoint hot_spot);
