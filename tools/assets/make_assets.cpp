// Draws the program's pictures and writes them into the given folder:
// background.bmp (the dialog's background), kelvora.ico (the window icon),
// button.jpg (the face of the default button) and hand.cur (the pointer over
// the web address); and for installing, the same icon at the sizes desktops
// and Windows' Explorer show: kelvora-N.png for the desktop's menus and
// kelvora-program.ico (16, 32, 48 and 256 pixels) for the .scr's file.
// Deterministic: the same build writes the same bytes.
// Usage: make_assets FOLDER
#include <QBuffer>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <cstdio>
#include <fstream>
#include <random>
#include <string>

#include "tools/assets/picture_files.h"

namespace {

// The dialog's background: a pale grey field with faint columns of
// characters, a muted echo of the rain.
QImage Background() {
  QImage image(471, 399, QImage::Format_RGB32);
  image.fill(QColor(222, 223, 222));
  std::mt19937 random(1041);
  QPainter painter(&image);
  for (int band = 0; band < 399; band += 38) {
    painter.fillRect(0, band, 471, 3, QColor(214, 215, 214));
  }
  QFont font("IPAGothic");
  font.setPixelSize(12);
  painter.setFont(font);
  const QColor tints[] = {QColor(231, 239, 231), QColor(231, 231, 231), QColor(227, 235, 227)};
  for (int x = 4; x < 471; x += 15) {
    const int top = static_cast<int>(random() % 300) - 100;
    const int length = 6 + static_cast<int>(random() % 20);
    painter.setPen(tints[random() % 3]);
    for (int line = 0; line < length; ++line) {
      const QChar katakana(0xFF66 + static_cast<int>(random() % 56));
      painter.drawText(x, top + line * 14, QString(katakana));
    }
  }
  return image;
}

// The icon: bright green streaks on black, darker green above, teal below.
QImage Icon() {
  QImage image(32, 32, QImage::Format_ARGB32);
  image.fill(QColor(0, 0, 0));
  const int streaks[][3] = {{3, 2, 20},  {8, 10, 30},  {13, 0, 14},
                            {18, 6, 26}, {23, 12, 31}, {28, 3, 18}};
  for (const auto& [x, top, bottom] : streaks) {
    for (int y = top; y <= bottom; ++y) {
      const int from_top = y - top, to_bottom = bottom - y;
      QColor color(0, 255, 0);
      if (from_top < 4) color = QColor(0, 96 + 40 * from_top, 0);
      if (to_bottom < 3) color = QColor(0, 128 + 20 * to_bottom, 128 - 20 * to_bottom);
      image.setPixelColor(x, y, color);
      image.setPixelColor(x + 1, y, color.darker(130));
    }
  }
  return image;
}

// The default button's face: a glossy lime-green band.
QImage ButtonFace() {
  QImage image(120, 34, QImage::Format_RGB32);
  QPainter painter(&image);
  QLinearGradient band(0, 0, 0, 34);
  band.setColorAt(0.0, QColor(214, 255, 140));
  band.setColorAt(0.45, QColor(150, 230, 40));
  band.setColorAt(0.55, QColor(118, 204, 16));
  band.setColorAt(1.0, QColor(160, 226, 70));
  painter.fillRect(image.rect(), band);
  QLinearGradient gloss(0, 1, 0, 15);
  gloss.setColorAt(0.0, QColor(255, 255, 255, 170));
  gloss.setColorAt(1.0, QColor(255, 255, 255, 20));
  painter.setPen(Qt::NoPen);
  painter.setBrush(gloss);
  painter.drawRoundedRect(QRectF(3, 1, 114, 14), 6, 6);
  return image;
}

// The pointer: a white hand with a blue cuff, pointing up; the fingertip at
// (12, 1) is the hot spot.
QImage Hand() {
  static const char* const kRows[] = {
      "............KK..................", "...........KWWK.................",
      "...........KWWK.................", "...........KWWK.................",
      "...........KWWK.................", "...........KWWKKK...............",
      "...........KWWKWWKKK............", "...........KWWKWWKWWKK..........",
      "........KK.KWWKWWKWWKWK.........", "........KWKKWWWWWWWWWWK.........",
      "........KWWKWWWWWWWWWWK.........", ".........KWWWWWWWWWWWWK.........",
      ".........KWWWWWWWWWWWWK.........", "..........KWWWWWWWWWWK..........",
      "..........KWWWWWWWWWWK..........", "...........KWWWWWWWWK...........",
      "...........KBBBBBBBBK...........", "...........KBbBBBbBBK...........",
      "...........KBBBBBBBBK...........", "...........KKKKKKKKKK...........",
  };
  QImage image(32, 32, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  for (int y = 0; y < static_cast<int>(std::size(kRows)); ++y) {
    for (int x = 0; x < 32; ++x) {
      switch (kRows[y][x]) {
        case 'K':
          image.setPixelColor(x, y, QColor(0, 0, 0));
          break;
        case 'W':
          image.setPixelColor(x, y, QColor(255, 255, 255));
          break;
        case 'B':
          image.setPixelColor(x, y, QColor(0, 0, 255));
          break;
        case 'b':
          image.setPixelColor(x, y, QColor(0, 0, 128));
          break;
        default:
          break;
      }
    }
  }
  return image;
}

// The icon at another size: scaled up by whole pixels, so that the streaks
// stay sharp, or smoothly otherwise.
QImage IconAt(int size) {
  const Qt::TransformationMode mode =
      size % 32 == 0 ? Qt::FastTransformation : Qt::SmoothTransformation;
  return Icon().scaled(size, size, Qt::IgnoreAspectRatio, mode);
}

std::string Encoded(const QImage& image, const char* format, int quality = -1) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, format, quality);
  return bytes.toStdString();
}

void Write(const std::string& folder, const char* name, const std::string& bytes) {
  std::ofstream(folder + "/" + name, std::ios::binary) << bytes;
  std::printf("%-20s %7zu bytes\n", name, bytes.size());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_assets FOLDER\n");
    return 2;
  }
  QGuiApplication application(argc, argv);  // fonts for the background's characters
  const std::string folder = argv[1];
  Write(folder, "background.bmp", BitmapFile24(Background()));
  Write(folder, "kelvora.ico", IconFile256(Icon()));
  Write(folder, "button.jpg", Encoded(ButtonFace(), "JPG", 84));
  Write(folder, "hand.cur", CursorFile16(Hand(), QPoint(12, 1)));
  // 32 pixels is the window icon's own image, installed as it is.
  for (const int size : {16, 24, 48, 64, 128, 256}) {
    const std::string name = "kelvora-" + std::to_string(size) + ".png";
    Write(folder, name.c_str(), Encoded(IconAt(size), "PNG"));
  }
  Write(folder, "kelvora-program.ico",
        IconFileOfSizes(Icon(), {IconAt(16), IconAt(48)}, Encoded(IconAt(256), "PNG")));
  return 0;
}
