#include "ui/Text.h"

#include <QDir>
#include <QFile>

#include "base/Files.h"

namespace pg::ui {

QString Latin1(const std::string& text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

std::string ToLatin1(const QString& text) {
  return text.toLatin1().toStdString();
}

std::string Typed(const QString& text) {
  std::string out;
  out.reserve(static_cast<size_t>(text.size()));
  for (const QChar c : text)
    out += c.unicode() < 256 ? static_cast<char>(c.unicode()) : '\x1A';
  return out;
}

QString Shown(const std::string& text) {
  return Latin1(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

QString OneLine(const std::string& text) {
  return Shown(text).replace(QLatin1Char('\n'), QLatin1Char(' ')).simplified();
}

std::string CorePath(const QString& path) {
#ifdef _WIN32
  return PathFromSystem(QDir::toNativeSeparators(path).toStdWString());
#else
  return QFile::encodeName(path).toStdString();
#endif
}

QString QtPath(const std::string& path) {
#ifdef _WIN32
  return Latin1(path);
#else
  return QFile::decodeName(QByteArray::fromStdString(path));
#endif
}

}  // namespace pg::ui
