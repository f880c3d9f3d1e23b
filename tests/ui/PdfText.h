#pragma once

#include <QFile>
#include <QProcess>
#include <QString>
#include <optional>

// The text of a printed PDF as pdftotext lays it out (poppler-utils, which scripts/setup
// installs); empty when it cannot read the file. Nothing on Windows, which has no pdftotext: a
// test there checks that the file is a PDF (IsPdf) and leaves its text to the Linux run.
inline std::optional<QString> PdfText(const QString& pdf) {
#ifdef Q_OS_WIN
  (void)pdf;
  return std::nullopt;
#else
  QProcess pdftotext;
  pdftotext.start(QStringLiteral("pdftotext"),
                  {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
  if (!pdftotext.waitForFinished(30000) || pdftotext.exitCode() != 0) return QString();
  return QString::fromUtf8(pdftotext.readAllStandardOutput());
#endif
}

inline bool IsPdf(const QString& pdf) {
  QFile file(pdf);
  return file.open(QIODevice::ReadOnly) && file.read(5) == "%PDF-";
}
