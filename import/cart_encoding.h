#pragma once
// The cart file's bytes as text. Pure; nothing is shown.
#include <optional>
#include <string>
#include <string_view>

namespace modMain {

// The cart file's bytes as text, in the encoding that the bytes show: after FF FE or FE FF,
// UTF-16 little- or big-endian (the mark dropped, an odd last byte too). Without a mark, bytes
// that hold NUL are UTF-16 too when the NULs before the first 0x0A byte (or in the whole file,
// when it has none) all sit at odd offsets (little-endian) or all at even ones (big-endian); any
// other bytes with a NUL are no text, and give nothing. Otherwise UTF-8 without its mark when
// the bytes after an optional EF BB BF are valid UTF-8 and either the mark is there or a byte is
// above 0x7F; else the ANSI code page, byte for byte, a mark included.
std::optional<std::wstring> DecodeCart(std::string_view bytes);

}  // namespace modMain
