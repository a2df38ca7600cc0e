#include "window/look/qt_text.h"

#include "text/cp1252.h"

#include <QByteArray>

namespace navorix {

QString toQString(std::string_view text) {
  std::string utf8;
  utf8.reserve(text.size() + text.size() / 4);
  AppendUtf8(utf8, text);
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string fromQString(const QString& text) {
  const QByteArray utf8 = text.toUtf8();
  std::string out;
  Utf8ToCp1252(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())), out);
  return out;
}

}  // namespace navorix
