#pragma once
// The two character sets the editor meets: Windows-1252, the single-byte set
// of the mission name (and of catalogues that are not UTF-8), and UTF-8, the
// text the window and the catalogues use. Windows-1252 is mapped losslessly:
// the five bytes the code page leaves undefined (81, 8D, 8F, 90, 9D) stand
// for the control characters of the same number, so that every
// byte value has one character and back.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kestrane {

char32_t Cp1252ToUnicode(std::uint8_t byte);
std::optional<std::uint8_t> UnicodeToCp1252(char32_t cp);
// A whole byte string read as Windows-1252, returned as UTF-8.
std::string Cp1252ToUtf8(std::string_view bytes);
// A file name or other bytes as readable text: UTF-8 as it is, anything else
// read as Windows-1252 (names made where the game runs), so that no byte
// shows as a question mark.
std::string ReadableText(std::string_view bytes);

// The one UTF-8 check: no overlong forms, surrogates or code points past
// U+10FFFF.
bool IsValidUtf8(std::string_view bytes);
// The code points of valid UTF-8; empty when the text is not valid UTF-8.
std::optional<std::u32string> DecodeUtf8(std::string_view text);
void AppendUtf8(std::string& out, char32_t cp);

}  // namespace kestrane
