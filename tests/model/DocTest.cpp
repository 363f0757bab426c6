#include "model/Doc.h"

#include "model/DocFields.h"
#include "model/LockCheck.h"
#include "support/ProjectBytes.h"
#include "util/ResourceText.h"
#include "util/StringIds.h"

#include <gtest/gtest.h>

// Every default value is pinned byte for byte by the default project file; these are the
// properties that file cannot show.
TEST(Doc, DefaultsKeepLineBreaksEscapedAndTakeTheLoadingMessageFromTheTable)
{
    const Doc doc;
    for (const QByteArray& text : { doc.incorrectMessage, doc.initialMessage }) {
        EXPECT_TRUE(text.contains("\\n")) << text.constData();
        EXPECT_FALSE(text.contains('\n')) << text.constData();
    }
    EXPECT_EQ(doc.loadingMessage, LoadResourceText(IDS_LOADING_MESSAGE));
    EXPECT_TRUE(doc.locks.empty());
    EXPECT_TRUE(doc.htmlFilePath.isEmpty());
    EXPECT_FALSE(doc.IsModified());
}

TEST(Doc, ResetKeepsThePathsAndEmptiesTheLocks)
{
    Doc doc;
    doc.htmlFilePath = "/srv/page.html";
    doc.publishDirectory = "/srv/pub";
    doc.width = 10;
    doc.mailHost = "smtp.example.com";
    doc.locks.push_back({ "ann", "", "a.html", "" });
    doc.ResetProject();
    Doc once = doc;
    doc.ResetProject();
    EXPECT_TRUE(doc.locks.empty());
    EXPECT_EQ(doc.htmlFilePath, "/srv/page.html");
    EXPECT_EQ(doc.publishDirectory, "/srv/pub");
    ExpectSameStoredFields(doc, once);
    once.htmlFilePath.clear();
    ExpectSameStoredFields(once, Doc());
}

TEST(LockEntry, DiffersFromComparesEveryTextExactly)
{
    const LockEntry lock { "ann", "pw", "a.html", "_top" };
    EXPECT_FALSE(lock.DiffersFrom(LockEntry(lock)));
    EXPECT_TRUE(lock.DiffersFrom({ "Ann", "pw", "a.html", "_top" }));
    EXPECT_TRUE(lock.DiffersFrom({ "ann", "pW", "a.html", "_top" }));
    EXPECT_TRUE(lock.DiffersFrom({ "ann", "pw", "a.htm", "_top" }));
    EXPECT_TRUE(lock.DiffersFrom({ "ann", "pw", "a.html", "" }));
}

TEST(LockCheck, SeparatorsAndControlCharactersAreNamedWhereTheBoxCannotReadThem)
{
    const LockEntry readable { "ann\xe9", "p&w \"x\"", "a|b.html", "_top" };
    EXPECT_EQ(UnreadableField(readable), nullptr);
    struct Case
    {
        QByteArray LockEntry::*member;
        QByteArray text;
        const char* field;
    };
    const Case cases[] = {
        { &LockEntry::userId, "a|b", "userId" },
        { &LockEntry::password, "|", "password" },
        { &LockEntry::target, "_top|", "target" },
        { &LockEntry::url, "a\r\nLock9=x", "url" },
        { &LockEntry::password, QByteArray("p\0w", 3), "password" },
        { &LockEntry::target, "\t", "target" },
        { &LockEntry::userId, "\x7F", "userId" },
    };
    for (const Case& c : cases) {
        LockEntry lock = readable;
        lock.*c.member = c.text;
        const LockField* field = UnreadableField(lock);
        ASSERT_NE(field, nullptr) << c.text.toHex().constData();
        EXPECT_STREQ(field->name, c.field);
    }

    Doc doc;
    doc.locks = { readable, readable, { "c\nd", "", "u", "" } };
    EXPECT_FALSE(FindUnreadableLock(Doc()));
    const std::optional<UnreadableLock> problem = FindUnreadableLock(doc);
    ASSERT_TRUE(problem);
    EXPECT_EQ(problem->index, 2u);
    // A user ID that would break the line is left out of the message.
    EXPECT_EQ(UnreadableLockMessage(doc, *problem),
        "Lock 3 cannot be read by the login box: its user ID holds a \"|\" or a control character "
        "such as a line break.");
}
