#include "window/look/qt_text.h"

#include "text/cp1252.h"

#include <QByteArray>

namespace navorix {

QString ToQString(std::string_view Text) {
  std::string utf8;
  utf8.reserve(Text.size() + Text.size() / 4);
  AppendUtf8(utf8, Text);
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string FromQString(const QString& Text) {
  const QByteArray utf8 = Text.toUtf8();
  std::string out;
  Utf8ToCp1252(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())), out);
  return out;
}

}  // namespace navorix
