#include "base/Items.h"

#include <cmath>
#include <limits>

#include "base/Errors.h"
#include "base/Numbers.h"

namespace pg {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

// [begin, end) without the blanks at its end.
std::string_view TrimmedEnd(const char* begin, const char* end) {
  while (end > begin && IsBlank(end[-1]))
    --end;
  return {begin, static_cast<size_t>(end - begin)};
}

// The first comma or carriage return from p on, or last: where an item ends.
const char* Separator(const char* p, const char* last) {
  while (p != last && *p != ',' && *p != '\r')
    ++p;
  return p;
}

bool IsHashItem(std::string_view t) {
  return t.size() >= 2 && t.front() == '#' && t.back() == '#';
}

std::optional<Date> IsoDate(std::string_view t) {
  // yyyy-mm-dd, as written between # signs
  if (t.size() != 10 || t[4] != '-' || t[7] != '-') return std::nullopt;
  for (size_t i : {0, 1, 2, 3, 5, 6, 8, 9}) {
    if (t[i] < '0' || t[i] > '9') return std::nullopt;
  }
  const int y = std::stoi(std::string(t.substr(0, 4)));
  const unsigned m = static_cast<unsigned>(std::stoi(std::string(t.substr(5, 2))));
  const unsigned d = static_cast<unsigned>(std::stoi(std::string(t.substr(8, 2))));
  const std::chrono::year_month_day ymd{std::chrono::year{y}, std::chrono::month{m},
                                        std::chrono::day{d}};
  if (!ymd.ok()) return std::nullopt;
  return std::chrono::sys_days{ymd};
}

}  // namespace

ItemReader::ItemReader(std::string content, AfterQuote afterQuote)
    : data_(std::move(content)), afterQuote_(afterQuote) {}

ItemReader::Raw ItemReader::Next() {
  if (AtEnd()) Raise(err::kInputPastEnd);
  const char* const first = data_.data();
  const char* const last = first + data_.size();
  const char* p = first + pos_;
  while (p != last && IsBlank(*p))
    ++p;
  Raw raw;
  const char* end = nullptr;  // the item's separator, or the end of the data
  if (p != last && *p == '"') {
    raw.quoted = true;
    // Texts are short: a plain loop finds their end sooner than a library search.
    const char* close = p + 1;
    while (close != last && *close != '"')
      ++close;
    raw.text = {p + 1, static_cast<size_t>(close - p - 1)};
    if (close == last) {
      pos_ = data_.size();
      return raw;
    }
    end = Separator(close + 1, last);
    const std::string_view tail = TrimmedEnd(close + 1, end);
    if (afterQuote_ == AfterQuote::Keep && !tail.empty()) {
      joined_.assign(raw.text);
      joined_ += tail;
      raw.text = joined_;
    }
  } else {
    end = Separator(p, last);
    raw.text = TrimmedEnd(p, end);
  }
  // Past the separator: a comma, or a carriage return with the line feed after it.
  if (end != last && *end == '\r' && end + 1 != last && end[1] == '\n') ++end;
  pos_ = static_cast<size_t>((end != last ? end + 1 : last) - first);
  return raw;
}

std::string ItemReader::ReadText() {
  return std::string(Next().text);
}

void ItemReader::SkipItem() {
  Next();
}

double ItemReader::ReadNumber() {
  const Raw raw = Next();
  if (const std::optional<double> whole = ShortWholeNumber(raw.text)) return *whole;
  if (raw.text.empty()) return 0.0;
  if (!raw.quoted && IsHashItem(raw.text)) {
    if (raw.text == "#NULL#") Raise(err::kInvalidUseOfNull);
    if (raw.text == "#TRUE#") return -1.0;
    if (raw.text == "#FALSE#") return 0.0;
    Raise(err::kTypeMismatch);
  }
  const auto value = ParseNumber(raw.text);
  if (!value) Raise(err::kTypeMismatch);
  return *value;
}

std::int16_t ItemReader::ReadInt16() {
  const double v = std::nearbyint(ReadNumber());  // half to even, as whole-number fields round
  if (!(v >= -32768.0 && v <= 32767.0)) Raise(err::kOverflow);
  return static_cast<std::int16_t>(v);
}

float ItemReader::ReadSingle() {
  const double v = ReadNumber();
  if (std::fabs(v) > std::numeric_limits<float>::max()) Raise(err::kOverflow);
  return static_cast<float>(v);
}

double ItemReader::ReadDouble() {
  const double v = ReadNumber();
  if (!std::isfinite(v)) Raise(err::kOverflow);
  return v;
}

CellValue ItemReader::ReadCell() {
  const Raw raw = Next();
  if (raw.quoted) return CellValue(std::string(raw.text));
  if (raw.text.empty()) return CellValue();
  if (IsHashItem(raw.text)) {
    if (raw.text == "#NULL#") return CellValue::Null();
    if (raw.text == "#TRUE#") return CellValue(true);
    if (raw.text == "#FALSE#") return CellValue(false);
    const auto d = IsoDate(raw.text.substr(1, raw.text.size() - 2));
    if (!d) Raise(err::kTypeMismatch);
    return CellValue(*d);
  }
  if (const auto v = ParseNumber(raw.text)) return CellValue(*v);
  return CellValue(std::string(raw.text));
}

std::string ItemReader::ReadLine(bool bareLineFeedEnds) {
  if (AtEnd()) Raise(err::kInputPastEnd);
  const size_t n = data_.size();
  size_t end = pos_;
  while (end < n && data_[end] != '\r' && !(bareLineFeedEnds && data_[end] == '\n'))
    ++end;
  std::string line = data_.substr(pos_, end - pos_);
  pos_ = end;
  if (pos_ < n) {
    if (data_[pos_] == '\r' && pos_ + 1 < n && data_[pos_ + 1] == '\n') ++pos_;
    ++pos_;
  }
  return line;
}

void ItemWriter::Separate() {
  if (lineHasItem_) out_ += ',';
  lineHasItem_ = true;
}

ItemWriter& ItemWriter::Text(std::string_view text) {
  Separate();
  out_ += '"';
  out_ += text;
  out_ += '"';
  return *this;
}

ItemWriter& ItemWriter::Number(double value) {
  Separate();
  out_ += NumberText(value);
  return *this;
}

ItemWriter& ItemWriter::DateItem(Date d) {
  Separate();
  out_ += FormatDate(d, "#yyyy-mm-dd#");
  return *this;
}

ItemWriter& ItemWriter::Empty() {
  Separate();
  return *this;
}

ItemWriter& ItemWriter::Bare(std::string_view text) {
  Separate();
  out_ += text;
  return *this;
}

ItemWriter& ItemWriter::Cell(const CellValue& value) {
  switch (value.kind()) {
    case CellValue::Kind::Empty: return Empty();
    case CellValue::Kind::Null: return Bare("#NULL#");
    case CellValue::Kind::Number: return Number(value.number());
    case CellValue::Kind::Date: return DateItem(value.date());
    case CellValue::Kind::Bool: return Bare(value.boolean() ? "#TRUE#" : "#FALSE#");
    case CellValue::Kind::Text: return Text(value.text());
  }
  return *this;
}

ItemWriter& ItemWriter::EndLine() {
  out_ += "\r\n";
  lineHasItem_ = false;
  return *this;
}

}  // namespace pg
