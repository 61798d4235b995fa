// Little-endian fields of a file held in memory, as BMP, WAVE and ICO files
// store them: the one reader of the decoders and of the tests' own readers.
// A field that does not lie wholly inside the bytes reads as 0, so no read
// strays past the end; a reader that must tell a short file from a zero
// asks `fits` first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

// True when `count` bytes from `at` lie inside `bytes`, however large the
// two numbers are (a damaged header may give any).
constexpr bool fits(std::span<const std::uint8_t> bytes, std::size_t at, std::size_t count) {
    return at <= bytes.size() && count <= bytes.size() - at;
}

constexpr std::uint32_t le16(std::span<const std::uint8_t> bytes, std::size_t at) {
    if (!fits(bytes, at, 2)) return 0;
    return static_cast<std::uint32_t>(bytes[at] | bytes[at + 1] << 8);
}

constexpr std::uint32_t le32(std::span<const std::uint8_t> bytes, std::size_t at) {
    if (!fits(bytes, at, 4)) return 0;
    return le16(bytes, at) | le16(bytes, at + 2) << 16;
}
