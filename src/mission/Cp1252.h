#pragma once
// Windows-1252, the single-byte character set of the mission name, mapped
// losslessly: the five bytes the code page leaves undefined (81, 8D, 8F, 90,
// 9D) stand for the control characters of the same number, as Windows does,
// so every byte value has one character and back.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kestrane {

char32_t Cp1252ToUnicode(std::uint8_t byte);
std::optional<std::uint8_t> UnicodeToCp1252(char32_t cp);

// UTF-8 helpers for the model's text, which is held as UTF-8.
void AppendUtf8(std::string& out, char32_t cp);
// Decodes UTF-8; empty when the text is not valid UTF-8.
std::optional<std::u32string> DecodeUtf8(std::string_view text);

// A whole byte string read as Windows-1252, returned as UTF-8.
std::string Cp1252ToUtf8(std::string_view bytes);

}  // namespace kestrane
