#pragma once

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <numeric>
#include <string_view>
#include <vector>

// Sorting and searching the language tables is mostly comparing short keys in byte order; these
// do it without a library call per comparison.
namespace vlp {

// Byte-order comparison (unsigned bytes, a prefix first), as std::string's.
inline int CompareBytes(std::string_view a, std::string_view b) {
    const std::size_t n = a.size() < b.size() ? a.size() : b.size();
    std::size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        std::uint64_t x;
        std::uint64_t y;
        std::memcpy(&x, a.data() + i, 8);
        std::memcpy(&y, b.data() + i, 8);
        if (x != y) {
            if constexpr (std::endian::native == std::endian::little) {
                x = __builtin_bswap64(x);
                y = __builtin_bswap64(y);
            }
            return x < y ? -1 : 1;
        }
    }
    for (; i < n; ++i) {
        const auto x = static_cast<unsigned char>(a[i]);
        const auto y = static_cast<unsigned char>(b[i]);
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

// The positions 0..count-1 ordered by keyOf(position) in byte order, equal keys by position: a
// stable sort that moves small records rather than strings. Each record carries the key's first
// sixteen bytes as two numbers, which settle most comparisons; ties are settled on the whole key.
template <typename KeyOf>
std::vector<std::size_t> StableByteOrder(std::size_t count, KeyOf keyOf) {
    struct Record {
        std::uint64_t high;
        std::uint64_t low;
        std::size_t position;
    };
    const auto bigEndian = [](const char* bytes) {
        std::uint64_t value;
        std::memcpy(&value, bytes, 8);
        if constexpr (std::endian::native == std::endian::little) value = __builtin_bswap64(value);
        return value;
    };
    std::vector<Record> records(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::string_view key = keyOf(i);
        char prefix[16] = {};
        std::memcpy(prefix, key.data(), std::min<std::size_t>(key.size(), sizeof prefix));
        records[i] = {bigEndian(prefix), bigEndian(prefix + 8), i};
    }
    std::sort(records.begin(), records.end(), [&](const Record& a, const Record& b) {
        if (a.high != b.high) return a.high < b.high;
        if (a.low != b.low) return a.low < b.low;
        // Zero padding makes "ab" and "ab\0" look alike, so equal prefixes need the whole keys.
        const int order = CompareBytes(keyOf(a.position), keyOf(b.position));
        return order != 0 ? order < 0 : a.position < b.position;
    });
    std::vector<std::size_t> order(count);
    for (std::size_t i = 0; i < count; ++i) order[i] = records[i].position;
    return order;
}

}  // namespace vlp
