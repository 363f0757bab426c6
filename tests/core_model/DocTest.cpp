#include "model/Doc.h"

#include "core_model/ProjectBytes.h"
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
