#include "util/Base64.h"

#include <QtEndian>

#include <array>
#include <cstdint>
#include <cstring>

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
