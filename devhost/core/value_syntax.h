// One value as the console and the saved configuration write it: bare, up to the next blank, or
// quoted, with \" and \\ its only escapes. Blanks are space, tab, carriage return and line feed;
// other control characters are part of a word, as they always were.
#pragma once

#include <cstddef>
#include <string>

namespace devhost {

// Reads the value at text[pos], leaving pos just past it. A quoted value that is not closed or
// has another escape fails, with error set to what was expected.
bool ReadValue(const std::string& text, std::size_t& pos, std::string& value, std::string& error);
// The value quoted, as the file and the console write it.
std::string QuoteValue(const std::string& value);
// True when the value reads back the same bare: one word, not starting with a quote.
bool FitsBare(const std::string& value);

bool IsBlank(char c);
// The first position from pos on that is not blank.
std::size_t SkipBlanks(const std::string& text, std::size_t pos);
std::string Trim(const std::string& text);

}  // namespace devhost
