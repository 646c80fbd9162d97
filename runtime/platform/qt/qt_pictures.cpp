#include "runtime/platform/qt/qt_pictures.h"

#include <QFile>
#include <QImage>

namespace rt::qt {
namespace {

QString ResourcePath(const std::string& name) {
  return QStringLiteral(":/assets/") + QString::fromStdString(name);
}

}  // namespace

QPixmap Picture(const std::string& name) { return QPixmap(ResourcePath(name)); }

QIcon Icon(const std::string& name) { return QIcon(ResourcePath(name)); }

QCursor Cursor(const std::string& name) {
  QFile file(ResourcePath(name));
  if (!file.open(QIODevice::ReadOnly)) return QCursor();
  const QByteArray bytes = file.readAll();
  // The directory entry holds the hot spot where an icon has planes and bits.
  const auto word = [&](int at) {
    return static_cast<int>(static_cast<unsigned char>(bytes[at])) |
           static_cast<int>(static_cast<unsigned char>(bytes[at + 1])) << 8;
  };
  if (bytes.size() < 22) return QCursor();
  const QImage image = QImage::fromData(bytes, "ICO");
  return QCursor(QPixmap::fromImage(image), word(10), word(12));
}

}  // namespace rt::qt
