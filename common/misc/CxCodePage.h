#pragma once
// Conversions between the desktop's ANSI code page and wide (UTF-16) or UTF-8 text.
//
// Palm Desktop data holds 8-bit text in the Windows ANSI code page of the desktop that wrote
// it; the code page is configurable (Windows-1252 unless told otherwise). Characters the
// target cannot represent become '?'; no error is reported.

#include <cstddef>
#include <string>
#include <string_view>

namespace tabrel {

// The ANSI code page in use: a Windows code page number ("1252") or an iconv name
// ("CP1251", "ISO-8859-2"). An empty or unknown name keeps Windows-1252.
void SetAnsiCodePage(std::string_view name);
const std::string& GetAnsiCodePage();

// Wide text to ANSI, cut to fit size bytes with a terminator (at most size - 1 bytes, never
// half a character); size 0 gives the empty text.
std::string ToNarrow(std::u16string_view wide, std::size_t size);

// ANSI text to wide, cut to fit count characters with a terminator (at most count - 1).
std::u16string ToWide(std::string_view text, std::size_t count);

// ANSI text to UTF-8 and back, whole.
std::string AnsiToUtf8(std::string_view text);
std::string Utf8ToAnsi(std::string_view text);

}  // namespace tabrel
