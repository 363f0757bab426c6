#pragma once

#include <QByteArray>

// The keyed table substitution that hides lock information in generated text; the login applet
// holds the same alphabet and key and reverses it. Characters outside the alphabet (control
// characters, the double quote, codes above 126) pass through unchanged, so a text keeps its
// length.
class TableCipher
{
public:
    // The key the applet holds.
    static constexpr const char* FixedKey = "pQuvaTeLm";

    // The 94 printable ASCII characters without the double quote, in code order.
    static constexpr int AlphabetSize = 94;

    // Initialises the key from keyText; only its letters and digits count. A key without any
    // leaves every text unchanged.
    explicit TableCipher(const QByteArray& keyText);

    // A copy of the cipher initialised with FixedKey, taken from one shared initialisation.
    static TableCipher WithFixedKey();

    // Enciphers or deciphers data in place exactly as a freshly initialised cipher with FixedKey
    // would, so that every scrambled value starts from the same state; the initialisation is
    // done once for the program.
    static void ScrambleInPlace(char* data, qsizetype size);
    static void UnscrambleInPlace(char* data, qsizetype size);

    // Enciphers or deciphers text from the current key position; the position carries on to the
    // next call, the carry starts at 0 for every text.
    QByteArray Encipher(const QByteArray& text);
    QByteArray Decipher(const QByteArray& text);

    // The initialised key (alphabet characters) and the current position in it.
    const QByteArray& Key() const { return m_key; }
    int Position() const { return m_position; }

private:
    enum class Direction { Encipher, Decipher };
    template<Direction direction> void Transform(char* data, qsizetype size, int& position) const;

    static const TableCipher& Fixed();

    QByteArray m_key;
    // Alphabet index of every key character, so that the inner loop needs no lookup.
    QByteArray m_keyIndices;
    int m_position = 0;
};
