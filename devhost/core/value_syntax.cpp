#include "core/value_syntax.h"

#include <algorithm>

namespace devhost {

namespace {

bool ReadQuoted(const std::string& text, std::size_t& pos, std::string& value, std::string& error) {
  value.clear();
  for (++pos; pos < text.size(); ++pos) {
    const char c = text[pos];
    if (c == '"') {
      ++pos;
      return true;
    }
    if (c == '\\') {
      if (pos + 1 >= text.size() || (text[pos + 1] != '"' && text[pos + 1] != '\\')) {
        error = "expected \\\" or \\\\ after a backslash";
        return false;
      }
      value += text[++pos];
    } else {
      value += c;
    }
  }
  error = "expected a closing quote";
  return false;
}

}  // namespace

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool ReadValue(const std::string& text, std::size_t& pos, std::string& value, std::string& error) {
  if (pos < text.size() && text[pos] == '"') return ReadQuoted(text, pos, value, error);
  const std::size_t begin = pos;
  while (pos < text.size() && !IsBlank(text[pos])) ++pos;
  value = text.substr(begin, pos - begin);
  return true;
}

std::string QuoteValue(const std::string& value) {
  std::string out = "\"";
  for (char c : value) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out + '"';
}

bool FitsBare(const std::string& value) {
  return !value.empty() && value.front() != '"' &&
         std::none_of(value.begin(), value.end(), IsBlank);
}

std::size_t SkipBlanks(const std::string& text, std::size_t pos) {
  while (pos < text.size() && IsBlank(text[pos])) ++pos;
  return pos;
}

std::string Trim(const std::string& text) {
  std::size_t end = text.size();
  const std::size_t begin = SkipBlanks(text, 0);
  while (end > begin && IsBlank(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

}  // namespace devhost
