// Files made byte by byte for the decoders' tests: little-endian fields
// appended to a file, or written over one already made.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

inline void put16(Bytes& b, std::uint32_t v) {
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}
inline void put32(Bytes& b, std::uint32_t v) {
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}
// Byte by byte: GCC 12 misreads a range insert into an empty vector as an
// overflow (-Wstringop-overflow).
inline void put_tag(Bytes& b, std::string_view tag) {
    for (char c : tag) b.push_back(static_cast<std::uint8_t>(c));
}
inline void put_bytes(Bytes& b, const Bytes& more) {
    for (std::uint8_t c : more) b.push_back(c);
}

inline void set16(Bytes& b, std::size_t at, std::uint32_t v) {
    b.at(at) = static_cast<std::uint8_t>(v);
    b.at(at + 1) = static_cast<std::uint8_t>(v >> 8);
}
inline void set32(Bytes& b, std::size_t at, std::uint32_t v) {
    set16(b, at, v & 0xFFFF);
    set16(b, at + 2, v >> 16);
}

// The first `n` bytes of a file, as a file cut short.
inline Bytes prefix(const Bytes& b, std::size_t n) { return Bytes(b.begin(), b.begin() + static_cast<long>(n)); }
