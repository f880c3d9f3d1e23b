#pragma once

#include <QString>
#include <string>

namespace pg::ui {

// The core's texts are single bytes in Latin-1, as its files are.
QString Latin1(const std::string& text);
// Characters a person types that Latin-1 lacks become '?', as in the files the program writes.
std::string ToLatin1(const QString& text);
// What a text box holds, for the model to check: a character that Latin-1 lacks becomes '\x1A'
// (the control character that stands for one that cannot be written), which no key types and no
// check accepts, where '?' would be taken for a question mark typed.
std::string Typed(const QString& text);

// A core text as a widget shows it: CR LF line breaks become Qt's LF.
QString Shown(const std::string& text);
// The words of a text on one line, for accessible names.
QString OneLine(const std::string& text);

// A path as the core keeps it, and back. On Windows the core's paths are Latin-1 with
// backslashes (a name Latin-1 cannot spell by its short name); elsewhere the file system's bytes.
std::string CorePath(const QString& path);
QString QtPath(const std::string& path);

}  // namespace pg::ui
