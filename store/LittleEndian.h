#pragma once

#include <cstddef>
#include <cstdint>

// Every multi-byte number in the record files is unsigned little-endian and may sit at
// an odd offset, so all reads and writes of them go through these two functions.
namespace LittleEndian {

// Reads `width` bytes (1 to 8) at `p` as an unsigned little-endian number.
inline std::uint64_t read(const std::uint8_t* p, std::size_t width)
{
    std::uint64_t value = 0;
    for (std::size_t i = width; i > 0; --i)
        value = (value << 8) | p[i - 1];
    return value;
}

// Writes the low `width` bytes (1 to 8) of `value` at `p`, least significant first.
inline void write(std::uint8_t* p, std::uint64_t value, std::size_t width)
{
    for (std::size_t i = 0; i < width; ++i) {
        p[i] = static_cast<std::uint8_t>(value & 0xFF);
        value >>= 8;
    }
}

} // namespace LittleEndian
