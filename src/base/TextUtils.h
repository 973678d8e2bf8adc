#pragma once

#include <cstddef>
#include <string>

// Text is UTF-8 in std::string throughout the program.

// Removes leading and trailing bytes of code 32 and below; non-ASCII text is left intact.
std::string Trim(const std::string& S);

// Converts 'a'..'z' to 'A'..'Z' and leaves every other byte alone.
std::string UpperCaseAscii(const std::string& S);

// Number of characters (code points); a byte that starts no valid sequence counts as one.
std::size_t Utf8Length(const std::string& S);

// The first MaxChars characters of S, never splitting a character.
std::string Utf8Cut(const std::string& S, std::size_t MaxChars);

// The whole lines of S (each ended by Break but the last) that fit in MaxChars characters; a
// first line too long by itself is cut inside.
std::string Utf8CutAtLineEnd(const std::string& S, std::size_t MaxChars, char Break);

// Appends the UTF-8 bytes of one character.
void EncodeUtf8(char32_t Code, std::string& Out);

// Conversions; an invalid byte becomes U+FFFD, an unpaired surrogate likewise.
std::u16string Utf8ToUtf16(const std::string& S);
std::string Utf16ToUtf8(const std::u16string& S);
