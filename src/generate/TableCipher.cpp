#include "generate/TableCipher.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define ZARNITH_SIDE_BY_SIDE_CIPHER 1
#include <immintrin.h>
#endif

namespace {

constexpr int Size = TableCipher::AlphabetSize;
constexpr int NotInAlphabet = -1;

constexpr bool InAlphabet(int code)
{
    return code >= 32 && code <= 126 && code != '"';
}

constexpr int IndexOf(int code)
{
    return code < '"' ? code - 32 : code - 33;
}

constexpr char CharAt(int index)
{
    return static_cast<char>(index < 2 ? index + 32 : index + 33);
}

constexpr std::array<int, 256> MakeIndexTable()
{
    std::array<int, 256> table {};
    for (int code = 0; code < 256; ++code)
        table[code] = InAlphabet(code) ? IndexOf(code) : NotInAlphabet;
    return table;
}

// Size minus the index of every character: how far the carry may grow before index + carry
// wraps around the alphabet.
constexpr std::array<int, 256> MakeRestTable()
{
    std::array<int, 256> table {};
    for (int code = 0; code < 256; ++code)
        table[code] = InAlphabet(code) ? Size - IndexOf(code) : NotInAlphabet;
    return table;
}

// The character at (k mod Size) for every k the loops compute, so that no sum needs reducing.
constexpr std::array<char, 3 * Size> MakeCharTable()
{
    std::array<char, 3 * Size> table {};
    for (int k = 0; k < 3 * Size; ++k)
        table[k] = CharAt(k % Size);
    return table;
}

constexpr std::array<int, 256> IndexTable = MakeIndexTable();
constexpr std::array<int, 256> RestTable = MakeRestTable();
constexpr std::array<char, 3 * Size> CharTable = MakeCharTable();

QByteArray Alphabet()
{
    QByteArray alphabet(Size, Qt::Uninitialized);
    for (int i = 0; i < Size; ++i)
        alphabet[i] = CharAt(i);
    return alphabet;
}

QByteArray KeyCharacters(const QByteArray& keyText)
{
    // The key is fixed ASCII, so plain ASCII upper-casing is enough.
    QByteArray filtered;
    for (char ch : keyText.toUpper()) {
        if ((ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9'))
            filtered += ch;
    }
    return filtered;
}

QByteArray KeyIndices(const QByteArray& key)
{
    QByteArray indices;
    for (char ch : key)
        indices += static_cast<char>(IndexTable[static_cast<unsigned char>(ch)]);
    return indices;
}

#ifdef ZARNITH_SIDE_BY_SIDE_CIPHER

// Each character of a record waits for the carry of the one before, so a record alone keeps the
// processor mostly idle; records are independent, though. Here 32 of them are enciphered at once,
// one per byte of an AVX2 register: blocks of 16 characters of every record are transposed so
// that each register holds one character of each record, stepped through the cipher together,
// and transposed back.
constexpr int Lanes = 32;
constexpr int Steps = 16;
// The key is looked up 16 entries per shuffle; more than 8 shuffles would cost more than they
// save, and positions must stay below 128 for the shuffles to work.
constexpr int MaxSideBySideKeyLength = 128;

#define SIDE_BY_SIDE __attribute__((target("avx2"))) inline

// The characters of a record from a block start on; those past the record's end read as zero.
SIDE_BY_SIDE __m128i LoadRow(const char* at, qsizetype count)
{
    if (count >= Steps)
        return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
    alignas(16) char row[Steps] = {};
    if (count > 0)
        std::memcpy(row, at, count);
    return _mm_load_si128(reinterpret_cast<const __m128i*>(row));
}

SIDE_BY_SIDE void StoreRow(char* at, __m128i row, qsizetype count)
{
    if (count >= Steps) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(at), row);
        return;
    }
    alignas(16) char buffer[Steps];
    _mm_store_si128(reinterpret_cast<__m128i*>(buffer), row);
    if (count > 0)
        std::memcpy(at, buffer, count);
}

// Transposes the 16 x 16 byte matrix in each half of the rows. Every round interleaves row i with
// row i + 8, which rotates the bits of (row, column) by one; four rounds swap row and column.
SIDE_BY_SIDE void Transpose(__m256i (&rows)[Steps])
{
    for (int round = 0; round < 4; ++round) {
        __m256i interleaved[Steps];
        for (int i = 0; i < Steps / 2; ++i) {
            interleaved[2 * i] = _mm256_unpacklo_epi8(rows[i], rows[i + Steps / 2]);
            interleaved[2 * i + 1] = _mm256_unpackhi_epi8(rows[i], rows[i + Steps / 2]);
        }
        std::copy(std::begin(interleaved), std::end(interleaved), std::begin(rows));
    }
}

// a mod Size for 0 <= a < 2 * Size: below Size, a - Size wraps above a.
SIDE_BY_SIDE __m256i ReduceOnce(__m256i a, __m256i modulus)
{
    return _mm256_min_epu8(a, _mm256_sub_epi8(a, modulus));
}

struct SideBySideKey
{
    // Key indices 16 at a time, each block XORed with the one before, in both register halves:
    // shuffling with position - 16 m zeroes the lanes below block m, so XORing the shuffles of
    // all blocks leaves in every lane the entry of its own block.
    __m256i blocks[MaxSideBySideKeyLength / Steps];
    int blockCount;
    int length;
};

SIDE_BY_SIDE __m256i KeyIndexAt(const SideBySideKey& key, __m256i position)
{
    __m256i y = _mm256_shuffle_epi8(key.blocks[0], position);
    for (int m = 1; m < key.blockCount; ++m) {
        const __m256i below = _mm256_sub_epi8(position, _mm256_set1_epi8(char(m * Steps)));
        y = _mm256_xor_si256(y, _mm256_shuffle_epi8(key.blocks[m], below));
    }
    return y;
}

// One character of every lane, as Transform does it; lanes outside active, or whose character is
// not in the alphabet, keep their character, carry and position.
SIDE_BY_SIDE __m256i EncipherStep(
    const SideBySideKey& key, __m256i code, __m256i active, __m256i& carry, __m256i& position)
{
    const __m256i size = _mm256_set1_epi8(Size);
    const __m256i quote = _mm256_set1_epi8('"');
    const __m256i offset = _mm256_sub_epi8(code, _mm256_set1_epi8(32));
    const __m256i printable = _mm256_cmpeq_epi8(_mm256_min_epu8(offset, size), offset);
    const __m256i enciphered
        = _mm256_andnot_si256(_mm256_cmpeq_epi8(code, quote), _mm256_and_si256(printable, active));
    // The alphabet skips the quote: one less above it (the comparison yields -1).
    const __m256i index = _mm256_add_epi8(offset, _mm256_cmpgt_epi8(code, quote));

    const __m256i y = KeyIndexAt(key, position);
    const __m256i x = ReduceOnce(_mm256_add_epi8(index, carry), size);
    const __m256i out = ReduceOnce(_mm256_add_epi8(x, y), size);
    // Alphabet index to character: 32 on, one more from index 2 (past the quote).
    const __m256i character = _mm256_sub_epi8(
        _mm256_add_epi8(out, _mm256_set1_epi8(32)), _mm256_cmpgt_epi8(out, _mm256_set1_epi8(1)));
    const __m256i nextCarry = _mm256_sub_epi8(_mm256_max_epu8(carry, x), _mm256_min_epu8(carry, x));
    const __m256i nextPosition
        = ReduceOnce(_mm256_add_epi8(_mm256_add_epi8(position, carry), _mm256_set1_epi8(1)),
            _mm256_set1_epi8(char(key.length)));

    carry = _mm256_blendv_epi8(carry, nextCarry, enciphered);
    position = _mm256_blendv_epi8(position, nextPosition, enciphered);
    return _mm256_blendv_epi8(code, character, enciphered);
}

// Enciphers up to Lanes records, record k being data[starts[k], starts[k] + lengths[k]).
SIDE_BY_SIDE void EncipherGroup(const SideBySideKey& key, char* data, const qsizetype* starts,
    const qsizetype* lengths, int startPosition)
{
    const qsizetype longest = *std::max_element(lengths, lengths + Lanes);
    __m256i carry = _mm256_setzero_si256();
    __m256i position = _mm256_set1_epi8(char(startPosition));
    for (qsizetype from = 0; from < longest; from += Steps) {
        qsizetype counts[Lanes];
        alignas(32) char stepsLeft[Lanes];
        for (int k = 0; k < Lanes; ++k) {
            counts[k] = std::clamp<qsizetype>(lengths[k] - from, 0, Steps);
            stepsLeft[k] = char(counts[k]);
        }
        const __m256i left = _mm256_load_si256(reinterpret_cast<const __m256i*>(stepsLeft));

        // Row k holds record k in its lower half and record k + 16 in its upper half, so after
        // the transposition byte k of register s is character s of record k.
        __m256i rows[Steps];
        for (int k = 0; k < Steps; ++k) {
            const int upper = k + Steps;
            rows[k] = _mm256_set_m128i(LoadRow(data + starts[upper] + from, counts[upper]),
                LoadRow(data + starts[k] + from, counts[k]));
        }
        Transpose(rows);
        for (int s = 0; s < Steps; ++s) {
            const __m256i active = _mm256_cmpgt_epi8(left, _mm256_set1_epi8(char(s)));
            rows[s] = EncipherStep(key, rows[s], active, carry, position);
        }
        Transpose(rows);
        for (int k = 0; k < Steps; ++k) {
            const int upper = k + Steps;
            StoreRow(data + starts[k] + from, _mm256_castsi256_si128(rows[k]), counts[k]);
            StoreRow(
                data + starts[upper] + from, _mm256_extracti128_si256(rows[k], 1), counts[upper]);
        }
    }
}

__attribute__((target("avx2"))) void EncipherSideBySide(const QByteArray& keyIndices,
    int startPosition, char* data, const std::vector<qsizetype>& bounds)
{
    SideBySideKey key {};
    key.length = int(keyIndices.size());
    key.blockCount = (key.length + Steps - 1) / Steps;
    alignas(16) char previous[Steps] = {};
    for (int m = 0; m < key.blockCount; ++m) {
        alignas(16) char block[Steps] = {};
        for (int i = 0; i < Steps && m * Steps + i < key.length; ++i)
            block[i] = keyIndices[m * Steps + i];
        alignas(16) char difference[Steps];
        for (int i = 0; i < Steps; ++i)
            difference[i] = char(block[i] ^ previous[i]);
        std::memcpy(previous, block, Steps);
        key.blocks[m] = _mm256_broadcastsi128_si256(
            _mm_load_si128(reinterpret_cast<const __m128i*>(difference)));
    }

    const qsizetype recordCount = qsizetype(bounds.size()) - 1;
    for (qsizetype first = 0; first < recordCount; first += Lanes) {
        // Lanes past the last record have nothing to do.
        qsizetype starts[Lanes] = {};
        qsizetype lengths[Lanes] = {};
        for (int k = 0; k < Lanes && first + k < recordCount; ++k) {
            starts[k] = bounds[first + k];
            lengths[k] = bounds[first + k + 1] - bounds[first + k];
        }
        EncipherGroup(key, data, starts, lengths, startPosition);
    }
}

bool CanEncipherSideBySide(int keyLength)
{
    // Positions and sums of an index and a carry must fit a byte, and one subtraction must
    // reduce a position, which holds for every initialised key (at least Size long).
    return keyLength >= Size && keyLength <= MaxSideBySideKeyLength
        && __builtin_cpu_supports("avx2");
}

#endif

} // namespace

TableCipher::TableCipher(const QByteArray& keyText)
{
    m_key = KeyCharacters(keyText);
    m_keyIndices = KeyIndices(m_key);
    if (m_key.isEmpty())
        return;

    const QByteArray scheduled = Encipher(m_key + Alphabet());
    m_key = scheduled;
    m_keyIndices = KeyIndices(m_key);
    int codeSum = 0;
    for (char ch : m_key)
        codeSum += static_cast<unsigned char>(ch);
    // Modulo one less than the alphabet size, as the applet computes it.
    m_position = codeSum % (Size - 1);
}

const TableCipher& TableCipher::Fixed()
{
    static const TableCipher initialised(FixedKey);
    return initialised;
}

TableCipher TableCipher::WithFixedKey()
{
    return Fixed();
}

void TableCipher::ScrambleInPlace(char* data, qsizetype size)
{
    int position = Fixed().m_position;
    Fixed().Transform<Direction::Encipher>(data, size, position);
}

void TableCipher::UnscrambleInPlace(char* data, qsizetype size)
{
    int position = Fixed().m_position;
    Fixed().Transform<Direction::Decipher>(data, size, position);
}

void TableCipher::ScrambleEachInPlace(char* data, const std::vector<qsizetype>& bounds)
{
    const TableCipher& fixed = Fixed();
#ifdef ZARNITH_SIDE_BY_SIDE_CIPHER
    if (CanEncipherSideBySide(int(fixed.m_keyIndices.size()))) {
        EncipherSideBySide(fixed.m_keyIndices, fixed.m_position, data, bounds);
        return;
    }
#endif
    for (std::size_t i = 0; i + 1 < bounds.size(); ++i) {
        int position = fixed.m_position;
        fixed.Transform<Direction::Encipher>(data + bounds[i], bounds[i + 1] - bounds[i], position);
    }
}

QByteArray TableCipher::Encipher(const QByteArray& text)
{
    QByteArray result = text;
    Transform<Direction::Encipher>(result.data(), result.size(), m_position);
    return result;
}

QByteArray TableCipher::Decipher(const QByteArray& text)
{
    QByteArray result = text;
    Transform<Direction::Decipher>(result.data(), result.size(), m_position);
    return result;
}

// For each character c of the alphabet, with the key index y at the position:
//   x = (index(c) + carry) mod Size, the output is the character at (x + y) mod Size,
//   the position moves on by 1 + carry, and the carry becomes |carry - x|.
// The comparisons inside the loop have random outcomes, so they are written as selections that
// compile without branches; the carry, which each character waits for, is a compare and a select
// away.
template<TableCipher::Direction direction>
void TableCipher::Transform(char* data, qsizetype size, int& positionInOut) const
{
    const int keyLength = int(m_keyIndices.size());
    if (keyLength == 0)
        return;
    const char* keyIndices = m_keyIndices.constData();
    // Once initialised, the key is longer than any step (at most Size), so one subtraction
    // reduces the position; only the initialisation itself needs the modulo.
    const bool oneSubtraction = keyLength > Size;
    // A local copy: data may alias anything, and the position would go through memory.
    int position = positionInOut;
    int carry = 0;
    for (qsizetype i = 0; i < size; ++i) {
        const auto code = static_cast<unsigned char>(data[i]);
        const int rest = RestTable[code];
        if (rest == NotInAlphabet)
            continue;
        if (oneSubtraction) {
            const int reduced = position - keyLength;
            position = reduced >= 0 ? reduced : position;
        } else if (position >= keyLength) {
            position %= keyLength;
        }
        const int y = keyIndices[position];
        position += 1 + carry;
        if constexpr (direction == Direction::Encipher) {
            // index + carry wraps exactly when carry >= rest; x is then carry - rest, else
            // carry - rest + Size, and |carry - x| is rest, else index.
            const int wrappedX = carry - rest;
            data[i] = CharTable[wrappedX + y + Size];
            carry = wrappedX >= 0 ? rest : Size - rest;
        } else {
            const int difference = Size - rest - y;
            const int x = difference < 0 ? difference + Size : difference;
            data[i] = CharTable[x - carry + Size];
            carry = std::abs(carry - x);
        }
    }
    positionInOut = position;
}
