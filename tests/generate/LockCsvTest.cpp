#include "generate/LockCsv.h"

#include "model/Doc.h"
#include "support/GenerateTestSupport.h"

#include <gtest/gtest.h>

namespace {

QByteArrayList Records(const std::vector<LockEntry>& locks)
{
    QByteArrayList records;
    for (const LockEntry& lock : locks)
        records << lock.userId + '|' + lock.password + '|' + lock.url + '|' + lock.target
                + (lock.areas ? '|' + lock.areas->join(';') : QByteArray());
    return records;
}

// A project with two locks, the second opening only area B of its two.
Doc TwoLocksTwoAreas()
{
    Doc doc;
    doc.locks
        = { MakeLock("Alice", "pw", "http://a/", ""), MakeLock("bob", "b", "http://b/", "_top") };
    doc.locks[1].areas = QByteArrayList { "B" };
    doc.areas.resize(2);
    doc.areas[0].name = "A";
    doc.areas[1].name = "B";
    return doc;
}

struct ImportCase
{
    const char* name;
    QByteArray csv;
    bool ignoreCase = true;
    bool replace = false;
    // Accepted: the list after the import, with the counts of added and updated members.
    QByteArrayList locks = {};
    int added = 0;
    int updated = 0;
    // Refused: the message.
    const char* refusal = nullptr;
};

TEST(LockCsv, ImportTakesWhatSpreadsheetsWriteAndRefusesTheRestByLine)
{
    const QByteArray bom = "\xEF\xBB\xBF";
    const QByteArrayList before = { "Alice|pw|http://a/|", "bob|b|http://b/|_top|B" };
    const ImportCase cases[] = {
        { "columns in any order, byte-order mark, CR LF, quoted commas and quotes",
            bom + "URL,userId,Password\r\n\"http://c/?a=1,2\",carol,\"say \"\"hi\"\"\"\r\n", true,
            false, before + QByteArrayList { "carol|say \"hi\"|http://c/?a=1,2|" }, 1, 0 },
        { "a known user ID updates only the named columns, empty rows are skipped",
            "userId,url,\nALICE,http://new/,\n,,\nnew,http://n/,\n", true, false,
            { "ALICE|pw|http://new/|", "bob|b|http://b/|_top|B", "new||http://n/|" }, 1, 1 },
        { "case counts when the project does not ignore it", "userId,url\rALICE,http://x/\r", false,
            false, before + QByteArrayList { "ALICE||http://x/|" }, 1, 0 },
        { "case folds as the box folds",
            "userId,password,url\nstraße,1,http://s/\nSTRASSE,2,http://t/\n", true, false,
            before + QByteArrayList { "STRASSE|2|http://t/|" }, 1, 0 },
        { "replace starts from an empty list; a repeated member updates the earlier row",
            "userId,url,target\nz,http://z/,_self\nZ,http://z2/,\n", true, true,
            { "Z||http://z2/|" }, 1, 0 },
        { "an empty file", "", true, false, {}, 0, 0,
            "Line 1: The first line is not a header. It must name the columns, for example: "
            "userId,password,url,target,areas" },
        { "no header", "\nalice,pw,http://a/\n", true, false, {}, 0, 0,
            "Line 2: The first line is not a header. It must name the columns, for example: "
            "userId,password,url,target,areas" },
        { "an unknown column", "userId,url,email\n", true, false, {}, 0, 0,
            "Line 1: The column \"email\" is unknown. The columns are: userId, password, url, "
            "target, areas" },
        { "a column twice", "userId,url,URL\n", true, false, {}, 0, 0,
            "Line 1: The column \"url\" is named twice." },
        { "no user ID column", "password,url\n", true, false, {}, 0, 0,
            "Line 1: The header names no userId column." },
        { "a short row", "userId,url\r\nx,http://x/\r\ny\r\n", true, false, {}, 0, 0,
            "Line 3: The row has 1 fields where the header names 2." },
        { "a long row", "userId,url\nx,http://x/,,more\n", true, false, {}, 0, 0,
            "Line 2: The row has 4 fields where the header names 2." },
        { "a cell under an unnamed column", "userId,url,\nx,http://x/,more\n", true, false, {}, 0,
            0, "Line 2: A field stands under a column that the header does not name." },
        { "not UTF-8", "userId,url\nx,http://x/\n\xE9t\xE9,http://y/\n", true, false, {}, 0, 0,
            "Line 3: The file is not UTF-8 text. Save it from the spreadsheet as CSV in UTF-8." },
        { "an unclosed quote, named by the line it opens on", "userId,url\nx,\"http://x/\ny,z\n",
            true, false, {}, 0, 0, "Line 2: A quoted field is not closed." },
        { "text after a closing quote", "userId,url\nx,\"http\"://x/\n", true, false, {}, 0, 0,
            "Line 2: A closing quote is followed by more text in the same field." },
        { "a quote inside a plain field", "userId,url\nx,http://\"x\"/\n", true, false, {}, 0, 0,
            "Line 2: A quote stands inside a field that does not begin with one." },
        { "a line break in a quoted field counts as a line", "userId,url\nx,\"a\r\nb\"c\n", true,
            false, {}, 0, 0,
            "Line 3: A closing quote is followed by more text in the same field." },
        { "a line break in a field", "userId,url\nx,\"a\nb\"\n", true, false, {}, 0, 0,
            "Line 2: The URL cannot contain a control character such as a tab or a line break." },
        { "a lock the box could not read", "userId,url\n\nc|d,u\n", true, false, {}, 0, 0,
            "Line 3: The user ID cannot contain \"|\" or a control character such as a tab or a "
            "line break." },
        { "a new member without a user ID", "userId,url\n,http://x/\n", true, false, {}, 0, 0,
            "Line 2: You must enter a user." },
        { "areas: * for every one, names separated by ;, an empty cell for none",
            "userId,url,areas\nbob,http://b/,*\nann,http://n/, B ;A;B\nnone,http://x/,\n", true,
            false,
            { "Alice|pw|http://a/|", "bob|b|http://b/|_top", "ann||http://n/||B;A",
                "none||http://x/||" },
            2, 1 },
        { "an area the project lacks", "userId,areas\nbob,A;C\n", true, false, {}, 0, 0,
            "Line 2: The area \"C\" is not in the project." },
    };
    for (const ImportCase& test : cases) {
        SCOPED_TRACE(test.name);
        Doc doc = TwoLocksTwoAreas();
        doc.ignoreCase = test.ignoreCase ? 1 : 0;
        const auto read = ReadLockImport(doc, test.csv, test.replace);
        if (test.refusal) {
            ASSERT_TRUE(std::holds_alternative<LockImportRefusal>(read));
            EXPECT_EQ(std::get<LockImportRefusal>(read).Message(), test.refusal);
            continue;
        }
        ASSERT_TRUE(std::holds_alternative<LockImport>(read))
            << std::get<LockImportRefusal>(read).Message().constData();
        const LockImport& import = std::get<LockImport>(read);
        EXPECT_EQ(Records(import.locks), test.locks);
        EXPECT_EQ(import.added, test.added);
        EXPECT_EQ(import.updated, test.updated);
    }

    // An export reads back as it was, each lock's areas included.
    Doc doc = TwoLocksTwoAreas();
    doc.locks.push_back(MakeLock("carol", "c", "http://c/", ""));
    doc.locks.back().areas = QByteArrayList {};
    const auto back = ReadLockImport(doc, LocksToCsv(doc), true);
    ASSERT_TRUE(std::holds_alternative<LockImport>(back));
    EXPECT_EQ(Records(std::get<LockImport>(back).locks), Records(doc.locks));
}

TEST(LockCsv, GeneratedPasswordsGoOnlyToImportedMembersWithoutOne)
{
    Doc doc;
    doc.locks = { MakeLock("old", "", "http://o/", "") };
    auto read = ReadLockImport(doc, "userId,password,url\na,,http://a/\nb,set,http://b/\n", false);
    ASSERT_TRUE(std::holds_alternative<LockImport>(read));
    LockImport& import = std::get<LockImport>(read);
    EXPECT_EQ(CountEmptyPasswords(import), 1);
    EXPECT_EQ(GeneratePasswords(import), 1);
    EXPECT_TRUE(import.locks[0].password.isEmpty()) << "not in the file";
    EXPECT_EQ(import.locks[2].password, "set");
    const QByteArray password = import.locks[1].password;
    ASSERT_EQ(password.size(), 12);
    for (char ch : password)
        EXPECT_FALSE(QByteArray("0Oo1lIi").contains(ch)) << password.constData();
    EXPECT_NE(RandomPassword(), RandomPassword());
}

} // namespace
