#pragma once
// Texts are held in the DOS (OEM) code page CP850, exactly the bytes that go into
// project and report files. The Windows code page (Windows-1252) is used for the
// copies meant for Windows programs (HTML, "outwin.txt"); what the user sees is
// Unicode. These converters never depend on the process locale.

#include <cstddef>
#include <string>
#include <string_view>

namespace zam1 {

// Unicode code point of an OEM (CP850) or Windows-1252 byte. Both tables cover all 256 bytes.
char32_t oemToUnicode(unsigned char c);
char32_t ansiToUnicode(unsigned char c);

// Byte for a code point; characters the code page lacks get a close ASCII stand-in
// (box drawing becomes "-", "=", "|" or "+") or '?'.
unsigned char unicodeToOem(char32_t cp);
unsigned char unicodeToAnsi(char32_t cp);

std::string oemToUtf8(std::string_view oem);
std::string utf8ToOem(std::string_view utf8);
std::string oemToAnsi(std::string_view oem);
std::string ansiToOem(std::string_view ansi);
std::string ansiToUtf8(std::string_view ansi);
std::string utf8ToAnsi(std::string_view utf8);

// What the user typed (UTF-8), converted to the stored code page and cut to the
// field's capacity. Long input is cut, never emptied.
std::string storedText(std::string_view utf8, std::size_t capacity);

// Decodes one code point of UTF-8 at `pos` and advances it; a malformed sequence
// yields U+FFFD and advances by one byte.
char32_t decodeUtf8(std::string_view s, std::size_t& pos);
void appendUtf8(std::string& out, char32_t cp);

} // namespace zam1
