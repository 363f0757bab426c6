#include "util/Base64.h"

#include <QtEndian>

#include <array>
#include <cstdint>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define ZARNITH_BASE64_SSSE3 1
#endif

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// The two characters of every 12 bits, side by side in memory.
struct PairTable
{
    PairTable()
    {
        for (std::size_t bits = 0; bits < pairs.size(); ++bits) {
            const char pair[2] = { kAlphabet[bits >> 6], kAlphabet[bits & 63] };
            std::memcpy(&pairs[bits], pair, 2);
        }
    }

    std::array<std::uint16_t, 4096> pairs {};
};

#ifdef ZARNITH_BASE64_SSSE3
// Twelve bytes at a time into sixteen characters, with the vector instructions most x86
// processors have: each of the 24-bit groups is spread into four bytes of six bits, and each
// six bits becomes its letter by adding the offset of its range of the alphabet. Reads sixteen
// bytes a step, so it stops sixteen bytes before the end; returns how many bytes it took.
__attribute__((target("ssse3"))) std::size_t EncodeByTwelve(
    const unsigned char* from, std::size_t size, char* to)
{
    const __m128i spread = _mm_setr_epi8(1, 0, 2, 1, 4, 3, 5, 4, 7, 6, 8, 7, 10, 9, 11, 10);
    // The offset to add to a value, by its range: 0-25 (A), 26-51 (a), 52-61 (0), 62 (+), 63 (/).
    const __m128i offsets = _mm_setr_epi8('a' - 26, '0' - 52, '0' - 52, '0' - 52, '0' - 52,
        '0' - 52, '0' - 52, '0' - 52, '0' - 52, '0' - 52, '0' - 52, '+' - 62, '/' - 63, 'A', 0, 0);
    std::size_t i = 0;
    for (; i + 16 <= size; i += 12, to += 16) {
        const __m128i groups
            = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(from + i)), spread);
        const __m128i high = _mm_mulhi_epu16(
            _mm_and_si128(groups, _mm_set1_epi32(0x0fc0fc00)), _mm_set1_epi32(0x04000040));
        const __m128i low = _mm_mullo_epi16(
            _mm_and_si128(groups, _mm_set1_epi32(0x003f03f0)), _mm_set1_epi32(0x01000010));
        const __m128i values = _mm_or_si128(high, low);
        // The range's number: 0 for values up to 51 (then 13 below 26), 1-12 above.
        __m128i range = _mm_subs_epu8(values, _mm_set1_epi8(51));
        range = _mm_or_si128(
            range, _mm_and_si128(_mm_cmpgt_epi8(_mm_set1_epi8(26), values), _mm_set1_epi8(13)));
        _mm_storeu_si128(
            reinterpret_cast<__m128i*>(to), _mm_add_epi8(_mm_shuffle_epi8(offsets, range), values));
    }
    return i;
}

bool HasSsse3()
{
    static const bool has = __builtin_cpu_supports("ssse3");
    return has;
}
#endif

} // namespace

void AppendBase64(QByteArray& text, const QByteArray& bytes)
{
    static const PairTable table;
    const auto* from = reinterpret_cast<const unsigned char*>(bytes.constData());
    const std::size_t size = std::size_t(bytes.size());
    const qsizetype at = text.size();
    text.resize(at + qsizetype((size + 2) / 3 * 4));
    char* to = text.data() + at;
    std::size_t i = 0;
#ifdef ZARNITH_BASE64_SSSE3
    if (HasSsse3()) {
        i = EncodeByTwelve(from, size, to);
        to += i / 3 * 4;
    }
#endif
    // Six bytes make eight characters, written at once; they are read as eight bytes, the last
    // two unused, so the step stops eight bytes before the end.
    for (; i + 8 <= size; i += 6, to += 8) {
        const std::uint64_t word = qFromBigEndian<std::uint64_t>(from + i) >> 16;
        const std::uint16_t four[4] = { table.pairs[word >> 36], table.pairs[(word >> 24) & 4095],
            table.pairs[(word >> 12) & 4095], table.pairs[word & 4095] };
        std::memcpy(to, four, 8);
    }
    for (; i + 3 <= size; i += 3, to += 4) {
        const unsigned word = unsigned(from[i]) << 16 | unsigned(from[i + 1]) << 8 | from[i + 2];
        const std::uint16_t two[2] = { table.pairs[word >> 12], table.pairs[word & 4095] };
        std::memcpy(to, two, 4);
    }
    if (i < size) {
        const bool two = i + 1 < size;
        const unsigned word = unsigned(from[i]) << 16 | (two ? unsigned(from[i + 1]) << 8 : 0);
        to[0] = kAlphabet[word >> 18];
        to[1] = kAlphabet[(word >> 12) & 63];
        to[2] = two ? kAlphabet[(word >> 6) & 63] : '=';
        to[3] = '=';
    }
}
