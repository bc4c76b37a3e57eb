#pragma once
// The text encodings deck files come in. The deck holds its text as UTF-8;
// a file in Windows-1252 (or Latin-1, as old DOS and Windows tools write
// them) is decoded on reading and encoded back on saving, byte for byte.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace rillo {

enum class TextEncoding { Utf8, Windows1252 };

/// Whether the bytes are well-formed UTF-8.
bool isUtf8(std::string_view bytes);
/// Windows-1252 bytes as UTF-8. The five bytes Windows-1252 leaves
/// undefined become the control characters of the same number, so that
/// every byte comes back unchanged.
std::string fromWindows1252(std::string_view bytes);
/// UTF-8 text as Windows-1252 bytes; none when a character has no byte.
std::optional<std::string> toWindows1252(std::string_view utf8);

/// Characters (code points) in UTF-8 text.
std::size_t characterCount(std::string_view utf8);
/// The bytes of the first `characters` characters of UTF-8 text.
std::size_t bytesOfCharacters(std::string_view utf8, std::size_t characters);

}  // namespace rillo
