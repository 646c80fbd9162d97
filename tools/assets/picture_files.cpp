#include "tools/assets/picture_files.h"

#include <QColor>
#include <algorithm>
#include <cstdint>
#include <map>
#include <stdexcept>
#include <vector>

namespace {

void Put16(std::string& out, uint16_t v) {
  out += static_cast<char>(v & 0xFF);
  out += static_cast<char>(v >> 8);
}

void Put32(std::string& out, uint32_t v) {
  Put16(out, static_cast<uint16_t>(v & 0xFFFF));
  Put16(out, static_cast<uint16_t>(v >> 16));
}

void PutInfoHeader(std::string& out, int width, int height, int bits, uint32_t image_size,
                   uint32_t colors) {
  Put32(out, 40);
  Put32(out, static_cast<uint32_t>(width));
  Put32(out, static_cast<uint32_t>(height));
  Put16(out, 1);
  Put16(out, static_cast<uint16_t>(bits));
  Put32(out, 0);  // uncompressed
  Put32(out, image_size);
  Put32(out, 2835);  // 72 dpi
  Put32(out, 2835);
  Put32(out, colors);
  Put32(out, 0);
}

// Rows are stored bottom-up, each padded to four bytes.
int RowBytes(int width, int bits) { return ((width * bits + 31) / 32) * 4; }

// The image's opaque colours as a palette of at most `size` entries.
std::vector<QRgb> Palette(const QImage& image, size_t size, std::map<QRgb, int>& index) {
  std::vector<QRgb> palette;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QRgb c = image.pixel(x, y) | 0xFF000000u;
      if (qAlpha(image.pixel(x, y)) == 0 || index.contains(c)) continue;
      index[c] = static_cast<int>(palette.size());
      palette.push_back(c);
    }
  }
  if (palette.size() > size) throw std::runtime_error("too many colors for the palette");
  palette.resize(size, 0xFF000000u);
  return palette;
}

// The mask of an icon or cursor image: a set bit where a pixel is transparent.
std::string AndMask(const QImage& image) {
  const int and_row = RowBytes(image.width(), 1);
  std::string out;
  for (int y = image.height() - 1; y >= 0; --y) {
    std::string row(static_cast<size_t>(and_row), '\0');
    for (int x = 0; x < image.width(); ++x) {
      if (qAlpha(image.pixel(x, y)) == 0)
        row[static_cast<size_t>(x / 8)] |= static_cast<char>(0x80 >> (x % 8));
    }
    out += row;
  }
  return out;
}

// The colour table, XOR image and AND mask of an icon or cursor image.
std::string IconImage(const QImage& image, int bits) {
  std::map<QRgb, int> index;
  const std::vector<QRgb> palette = Palette(image, size_t{1} << bits, index);
  const int width = image.width(), height = image.height();
  const int xor_row = RowBytes(width, bits), and_row = RowBytes(width, 1);
  std::string out;
  PutInfoHeader(out, width, height * 2, bits, static_cast<uint32_t>((xor_row + and_row) * height),
                0);
  for (const QRgb c : palette) {
    out += static_cast<char>(qBlue(c));
    out += static_cast<char>(qGreen(c));
    out += static_cast<char>(qRed(c));
    out += '\0';
  }
  for (int y = height - 1; y >= 0; --y) {
    std::string row(static_cast<size_t>(xor_row), '\0');
    for (int x = 0; x < width; ++x) {
      const QRgb p = image.pixel(x, y);
      const int i = qAlpha(p) == 0 ? 0 : index[p | 0xFF000000u];
      const int bit = x * bits;
      row[static_cast<size_t>(bit / 8)] |= static_cast<char>(i << (8 - bits - bit % 8));
    }
    out += row;
  }
  return out + AndMask(image);
}

// An icon or cursor file's header and directory, then its images.
struct DirectoryEntry {
  int width, height, colors;
  uint16_t field_a, field_b;  // planes and bits per pixel, or the cursor's hot spot
  std::string data;
};

std::string IconDirectory(int type, const std::vector<DirectoryEntry>& entries) {
  std::string out;
  Put16(out, 0);
  Put16(out, static_cast<uint16_t>(type));
  Put16(out, static_cast<uint16_t>(entries.size()));
  uint32_t offset = static_cast<uint32_t>(6 + 16 * entries.size());
  for (const DirectoryEntry& entry : entries) {
    out += static_cast<char>(entry.width & 0xFF);  // 256 is written as 0
    out += static_cast<char>(entry.height & 0xFF);
    out += static_cast<char>(entry.colors);
    out += '\0';
    Put16(out, entry.field_a);
    Put16(out, entry.field_b);
    Put32(out, static_cast<uint32_t>(entry.data.size()));
    Put32(out, offset);
    offset += static_cast<uint32_t>(entry.data.size());
  }
  for (const DirectoryEntry& entry : entries) out += entry.data;
  return out;
}

// A true-colour image with its alpha, and the AND mask older readers use.
std::string IconImage32(const QImage& image) {
  const int width = image.width(), height = image.height();
  const int and_row = RowBytes(width, 1);
  std::string out;
  PutInfoHeader(out, width, height * 2, 32, static_cast<uint32_t>((width * 4 + and_row) * height),
                0);
  for (int y = height - 1; y >= 0; --y) {
    for (int x = 0; x < width; ++x) {
      const QRgb p = image.pixel(x, y);
      out += static_cast<char>(qBlue(p));
      out += static_cast<char>(qGreen(p));
      out += static_cast<char>(qRed(p));
      out += static_cast<char>(qAlpha(p));
    }
  }
  return out + AndMask(image);
}

}  // namespace

std::string BitmapFile24(const QImage& image) {
  const int row = RowBytes(image.width(), 24);
  const uint32_t pixels = static_cast<uint32_t>(row * image.height());
  std::string out = "BM";
  Put32(out, 54 + pixels);
  Put32(out, 0);
  Put32(out, 54);
  PutInfoHeader(out, image.width(), image.height(), 24, pixels, 0);
  for (int y = image.height() - 1; y >= 0; --y) {
    std::string line(static_cast<size_t>(row), '\0');
    for (int x = 0; x < image.width(); ++x) {
      const QRgb p = image.pixel(x, y);
      line[static_cast<size_t>(x * 3)] = static_cast<char>(qBlue(p));
      line[static_cast<size_t>(x * 3 + 1)] = static_cast<char>(qGreen(p));
      line[static_cast<size_t>(x * 3 + 2)] = static_cast<char>(qRed(p));
    }
    out += line;
  }
  return out;
}

std::string IconFile256(const QImage& image) {
  return IconDirectory(1, {{image.width(), image.height(), 0, 1, 8, IconImage(image, 8)}});
}

std::string IconFileOfSizes(const QImage& palette_image, const std::vector<QImage>& others,
                            const std::string& png_256) {
  std::vector<DirectoryEntry> entries;
  for (const QImage& image : others) {
    entries.push_back({image.width(), image.height(), 0, 1, 32, IconImage32(image)});
  }
  entries.push_back(
      {palette_image.width(), palette_image.height(), 0, 1, 8, IconImage(palette_image, 8)});
  entries.push_back({256, 256, 0, 1, 32, png_256});
  std::sort(entries.begin(), entries.end(),
            [](const DirectoryEntry& a, const DirectoryEntry& b) { return a.width < b.width; });
  return IconDirectory(1, entries);
}

std::string CursorFile16(const QImage& image, QPoint hot_spot) {
  return IconDirectory(2, {{image.width(), image.height(), 16, static_cast<uint16_t>(hot_spot.x()),
                            static_cast<uint16_t>(hot_spot.y()), IconImage(image, 4)}});
}
