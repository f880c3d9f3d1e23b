#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/Cell.h"
#include "base/Date.h"

namespace pg {

// Reads the comma-separated items every file of the program is made of. A comma or a carriage
// return (with the line feed after it) ends an item; a bare line feed does not. Blanks before an
// item are skipped, and blanks at the end of an unquoted item are not part of it. A quoted item
// runs to the next double quote.
class ItemReader {
 public:
  // What happens to the text between a quoted item's closing quote and the next separator:
  // session files keep it (it is where damaged line ends show), other files drop it.
  enum class AfterQuote { Keep, Skip };

  explicit ItemReader(std::string content, AfterQuote afterQuote = AfterQuote::Skip);

  bool AtEnd() const { return pos_ >= data_.size(); }

  // Every read raises Input past end of file (62) at the end of the data.
  std::string ReadText();
  // Overflow (6) outside -32768..32767; Type mismatch (13) for a text that is not a number or a
  // date; Invalid use of Null (94) for #NULL#. An empty item is 0; fractions round half to even.
  std::int16_t ReadInt16();
  float ReadSingle();
  double ReadDouble();
  // Empty, #NULL#, #TRUE#/#FALSE#, #yyyy-mm-dd#, quoted text, bare number, or other bare text.
  CellValue ReadCell();
  // The rest of the current line, up to a carriage return (with its line feed) or, when
  // bareLineFeedEnds, a lone line feed too.
  std::string ReadLine(bool bareLineFeedEnds = false);
  // Skips one item of any kind.
  void SkipItem();

  size_t position() const { return pos_; }
  std::string_view data() const { return data_; }

 private:
  // An item's text is a view into the data, or into joined_ when a kept tail had to be joined to
  // a quoted text; either way it holds only until the next read.
  struct Raw {
    std::string_view text;
    bool quoted = false;
  };
  Raw Next();
  double ReadNumber();

  std::string data_;
  size_t pos_ = 0;
  AfterQuote afterQuote_;
  std::string joined_;
};

// Writes items in the same convention: texts quoted, numbers bare in plain decimal form, dates
// #yyyy-mm-dd#, truth values #TRUE#/#FALSE#, Null #NULL#, Empty as nothing; items of a line
// separated by commas, lines ended by CR LF.
class ItemWriter {
 public:
  ItemWriter& Text(std::string_view text);
  ItemWriter& Number(double value);
  ItemWriter& Cell(const CellValue& value);
  ItemWriter& DateItem(Date d);
  ItemWriter& Empty();
  // An item written exactly as given, without quotes.
  ItemWriter& Bare(std::string_view text);
  ItemWriter& EndLine();

  const std::string& str() const { return out_; }

 private:
  void Separate();
  std::string out_;
  bool lineHasItem_ = false;
};

}  // namespace pg
