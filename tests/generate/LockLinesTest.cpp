#include "generate/LockLines.h"

#include "generate/TableCipher.h"
#include "model/Doc.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>
#include <vector>

namespace {

// The cipher as the applet's description states it, step by step and without shortcuts: the
// square table, index look-ups by search, a fresh initialisation for every text.
class LiteralCipher
{
public:
    explicit LiteralCipher(const QByteArray& keyText)
    {
        for (int c = 32; c <= 126; ++c) {
            if (c != 34)
                m_alphabet += char(c);
        }
        for (int r = 0; r < 94; ++r) {
            QByteArray row;
            for (int c = 0; c < 94; ++c)
                row += m_alphabet[(r + c) % 94];
            m_table.push_back(row);
        }
        QByteArray filtered;
        for (char ch : keyText.toUpper()) {
            if (QByteArray("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789").contains(ch))
                filtered += ch;
        }
        m_key = filtered;
        m_position = 0;
        m_key = Encipher(filtered + m_alphabet);
        int sum = 0;
        for (char ch : m_key)
            sum += (unsigned char)ch;
        m_position = sum % 93;
    }

    QByteArray Encipher(const QByteArray& text)
    {
        QByteArray result;
        int carry = 0;
        for (char ch : text) {
            const int found = m_alphabet.indexOf(ch);
            if (found < 0) {
                result += ch;
                continue;
            }
            int x = found;
            if (m_position >= m_key.size())
                m_position = m_position % m_key.size();
            const int y = m_alphabet.indexOf(m_key[m_position]);
            x = x + carry;
            while (x >= 94)
                x -= 94;
            result += m_table[x][y];
            m_position = m_position + 1 + carry;
            carry = std::abs(carry - x);
        }
        return result;
    }

private:
    QByteArray m_alphabet;
    std::vector<QByteArray> m_table;
    QByteArray m_key;
    int m_position = 0;
};

QByteArray RandomText(QRandomGenerator& random, int maxLength)
{
    QByteArray text(random.bounded(maxLength + 1), Qt::Uninitialized);
    for (char& ch : text)
        ch = char(random.bounded(256));
    return text;
}

Doc ScramblingDoc()
{
    Doc doc;
    doc.encrypt = 1;
    return doc;
}

} // namespace

TEST(TableCipher, MatchesTheLiteralAlgorithmForManyTexts)
{
    QRandomGenerator random(7);
    const Doc doc = ScramblingDoc();
    for (int i = 0; i < 2000; ++i) {
        const QByteArray text = RandomText(random, i % 100 == 0 ? 3000 : 60);
        const QByteArray expected = LiteralCipher(TableCipher::FixedKey).Encipher(text);
        EXPECT_EQ(ScrambleText(doc, text), expected);
        EXPECT_EQ(TableCipher(TableCipher::FixedKey).Encipher(text), expected);
    }
}

TEST(TableCipher, PositionCarriesOnWithinOneCipher)
{
    // Only a fresh state per text makes results independent; a reused cipher moves on.
    TableCipher reused(TableCipher::FixedKey);
    LiteralCipher literal(TableCipher::FixedKey);
    for (const char* text : { "ann| |a.html| ", "ann| |a.html| ", "bob|x|b|_top" })
        EXPECT_EQ(reused.Encipher(text), literal.Encipher(text));
}

TEST(TableCipher, KeySchedule)
{
    const TableCipher cipher(TableCipher::FixedKey);
    EXPECT_EQ(cipher.Key().size(), 9 + TableCipher::AlphabetSize);
    int sum = 0;
    for (char ch : cipher.Key()) {
        EXPECT_TRUE(ch >= 32 && ch <= 126 && ch != '"');
        sum += ch;
    }
    EXPECT_EQ(cipher.Position(), sum % 93);
    // Only letters and digits count, in upper case.
    EXPECT_EQ(TableCipher("p-q u!v.aTeLm").Key(), cipher.Key());
    EXPECT_EQ(TableCipher("--").Encipher("unchanged"), "unchanged");
}

TEST(TableCipher, ScramblingKeepsLengthAndUnscramblingInvertsIt)
{
    QRandomGenerator random(11);
    const Doc doc = ScramblingDoc();
    for (int i = 0; i < 500; ++i) {
        const QByteArray text = RandomText(random, 200);
        const QByteArray scrambled = ScrambleText(doc, text);
        ASSERT_EQ(scrambled.size(), text.size());
        for (qsizetype j = 0; j < text.size(); ++j) {
            const auto ch = (unsigned char)text[j];
            const bool passesThrough = ch == '"' || ch < 32 || ch > 126;
            if (passesThrough)
                EXPECT_EQ(scrambled[j], text[j]);
            else
                EXPECT_TRUE(scrambled[j] >= 32 && scrambled[j] <= 126 && scrambled[j] != '"');
        }
        EXPECT_EQ(TableCipher::WithFixedKey().Decipher(scrambled), text);
    }
}

TEST(TableCipher, EveryPrintableCharacterIsSubstitutedSomewhere)
{
    const Doc doc = ScramblingDoc();
    QByteArray all;
    for (int c = 32; c <= 126; ++c) {
        if (c != '"')
            all += char(c);
    }
    // A text's first character moves by the key character at the starting position; only a blank
    // there (alphabet index 0) would leave it in place.
    const TableCipher cipher = TableCipher::WithFixedKey();
    ASSERT_NE(cipher.Key()[cipher.Position()], ' ');
    for (char ch : all)
        EXPECT_NE(ScrambleText(doc, QByteArray(1, ch)), QByteArray(1, ch)) << ch;
    EXPECT_EQ(ScrambleText(doc, "\"\t\xe9"), "\"\t\xe9");
}

TEST(LockLines, RecordsAndLineForms)
{
    const LockEntry ann { "ann", "", "a.html", "" };
    EXPECT_EQ(LockRecord(ann), "ann| |a.html| ");
    EXPECT_EQ(LockRecord({ "a|b", "\"q\"", "u", "_top" }), "a|b|\"q\"|u|_top");

    Doc doc;
    EXPECT_TRUE(BuildLockLines(doc, false).isEmpty());
    EXPECT_TRUE(BuildLockLines(doc, true).isEmpty());

    doc.locks.push_back(ann);
    doc.locks.push_back({ "bob", "pw", "dir\\b.html", "_top" });
    EXPECT_EQ(BuildLockLines(doc, false),
        "<PARAM NAME=Lock0 VALUE=\"ann| |a.html| \">\r\n"
        "<PARAM NAME=Lock1 VALUE=\"bob|pw|dir\\b.html|_top\">\r\n");
    EXPECT_EQ(
        BuildLockLines(doc, true), "Lock0=ann| |a.html| \r\nLock1=bob|pw|dir\\\\b.html|_top\r\n");
}

TEST(LockLines, ScrambledLines)
{
    Doc doc = ScramblingDoc();
    EXPECT_EQ(ScrambleText(Doc(), "plain"), "plain");
    const LockEntry lock { "ann", "", "a.html", "" };
    doc.locks.assign(2, lock);
    const QByteArray record = ScrambleText(doc, LockRecord(lock));
    EXPECT_NE(record, LockRecord(lock));
    EXPECT_EQ(BuildLockLines(doc, false),
        "<PARAM NAME=Lock0 VALUE=\"" + record + "\">\r\n<PARAM NAME=Lock1 VALUE=\"" + record
            + "\">\r\n");
    // The file form doubles backslashes after scrambling, including those the cipher produced.
    EXPECT_EQ(BuildLockLines(doc, true),
        EscapeBackslashes("Lock0=" + record + "\r\nLock1=" + record + "\r\n"));
}

TEST(LockLines, ScrambledLinesOfManyLocksMatchRecordByRecord)
{
    QRandomGenerator random(17);
    Doc doc = ScramblingDoc();
    QByteArray page;
    QByteArray file;
    for (int i = 0; i < 150; ++i) {
        const LockEntry lock { RandomText(random, 20), RandomText(random, 20),
            RandomText(random, 60), i % 4 ? QByteArray("_top") : QByteArray() };
        doc.locks.push_back(lock);
        const QByteArray record = ScrambleText(doc, LockRecord(lock));
        QByteArray quoted = record;
        quoted.replace("&", "&amp;").replace("\"", "&quot;");
        page += "<PARAM NAME=Lock" + QByteArray::number(i) + " VALUE=\"" + quoted + "\">\r\n";
        file += "Lock" + QByteArray::number(i) + "=" + EscapeBackslashes(record) + "\r\n";
    }
    EXPECT_EQ(BuildLockLines(doc, false), page);
    EXPECT_EQ(BuildLockLines(doc, true), file);
}

TEST(LockLines, QuoteInAPageRecordStaysInsideTheAttribute)
{
    Doc doc;
    doc.locks.push_back({ "ann", "say \"hi\"", "a.html", "" });
    EXPECT_EQ(BuildLockLines(doc, false),
        "<PARAM NAME=Lock0 VALUE=\"ann|say &quot;hi&quot;|a.html| \">\r\n");
    EXPECT_EQ(BuildLockLines(doc, true), "Lock0=ann|say \"hi\"|a.html| \r\n");

    // The cipher leaves the quote in place, so the scrambled page record carries it escaped too.
    doc.encrypt = 1;
    const QByteArray scrambled = ScrambleText(doc, LockRecord(doc.locks[0]));
    ASSERT_TRUE(scrambled.contains('"'));
    QByteArray escaped = scrambled;
    escaped.replace("\"", "&quot;");
    EXPECT_EQ(BuildLockLines(doc, false), "<PARAM NAME=Lock0 VALUE=\"" + escaped + "\">\r\n");
}

TEST(LockLines, EscapeBackslashes)
{
    EXPECT_EQ(EscapeBackslashes("a\\b\\\\c"), "a\\\\b\\\\\\\\c");
    EXPECT_EQ(EscapeBackslashes("none"), "none");
}
