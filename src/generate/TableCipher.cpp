#include "generate/TableCipher.h"

#include <array>

namespace {

constexpr int NotInAlphabet = -1;

constexpr std::array<int, 256> MakeIndexTable()
{
    std::array<int, 256> table {};
    for (int code = 0; code < 256; ++code) {
        if (code < 32 || code == '"' || code > 126)
            table[code] = NotInAlphabet;
        else
            table[code] = code < '"' ? code - 32 : code - 33;
    }
    return table;
}

constexpr std::array<int, 256> IndexTable = MakeIndexTable();

int AlphabetIndex(char ch)
{
    return IndexTable[static_cast<unsigned char>(ch)];
}

char AlphabetChar(int index)
{
    return static_cast<char>(index < 2 ? index + 32 : index + 33);
}

QByteArray Alphabet()
{
    QByteArray alphabet(TableCipher::AlphabetSize, Qt::Uninitialized);
    for (int i = 0; i < TableCipher::AlphabetSize; ++i)
        alphabet[i] = AlphabetChar(i);
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

} // namespace

TableCipher::TableCipher(const QByteArray& keyText)
{
    m_key = KeyCharacters(keyText);
    for (char ch : m_key)
        m_keyIndices += static_cast<char>(AlphabetIndex(ch));
    if (m_key.isEmpty())
        return;

    const QByteArray scheduled = Encipher(m_key + Alphabet());
    m_key = scheduled;
    m_keyIndices.clear();
    int codeSum = 0;
    for (char ch : m_key) {
        m_keyIndices += static_cast<char>(AlphabetIndex(ch));
        codeSum += static_cast<unsigned char>(ch);
    }
    // Modulo one less than the alphabet size, as the applet computes it.
    m_position = codeSum % (AlphabetSize - 1);
}

TableCipher TableCipher::WithFixedKey()
{
    static const TableCipher initialised(FixedKey);
    return initialised;
}

QByteArray TableCipher::Encipher(const QByteArray& text)
{
    return Transform(text, Direction::Encipher);
}

QByteArray TableCipher::Decipher(const QByteArray& text)
{
    return Transform(text, Direction::Decipher);
}

QByteArray TableCipher::Transform(const QByteArray& text, Direction direction)
{
    const qsizetype keyLength = m_keyIndices.size();
    if (keyLength == 0)
        return text;

    QByteArray result(text.size(), Qt::Uninitialized);
    const char* in = text.constData();
    char* out = result.data();
    const char* keyIndices = m_keyIndices.constData();
    int position = m_position;
    int carry = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const int index = AlphabetIndex(in[i]);
        if (index == NotInAlphabet) {
            out[i] = in[i];
            continue;
        }
        if (position >= keyLength)
            position %= keyLength;
        const int y = keyIndices[position];
        // x is the plain index plus the carry, reduced into the alphabet; the cipher index is
        // x + y. Deciphering recovers x from the cipher index and the plain index from x.
        int x;
        if (direction == Direction::Encipher) {
            x = index + carry;
            if (x >= AlphabetSize)
                x -= AlphabetSize;
            int cipherIndex = x + y;
            if (cipherIndex >= AlphabetSize)
                cipherIndex -= AlphabetSize;
            out[i] = AlphabetChar(cipherIndex);
        } else {
            x = index - y;
            if (x < 0)
                x += AlphabetSize;
            int plain = x - carry;
            if (plain < 0)
                plain += AlphabetSize;
            out[i] = AlphabetChar(plain);
        }
        position += 1 + carry;
        carry = carry > x ? carry - x : x - carry;
    }
    m_position = position;
    return result;
}
