#include "generate/TableCipher.h"

#include <array>
#include <cstdlib>

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
