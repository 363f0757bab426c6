#include "model/Doc.h"

#include "core_model/ProjectBytes.h"

#include <gtest/gtest.h>

TEST(Doc, NewDocumentHoldsTheDefaults)
{
    const Doc doc;
    EXPECT_TRUE(doc.locks.empty());
    EXPECT_EQ(doc.width, 400);
    EXPECT_EQ(doc.height, 200);
    EXPECT_EQ(doc.incorrectMessage, "The user ID or password\\nentered is incorrect.");
    EXPECT_FALSE(doc.incorrectMessage.contains('\n'));
    EXPECT_EQ(doc.failMessage, "You are not entitled to enter!");
    EXPECT_EQ(doc.initialMessage, "Enter your user ID and\\npassword, then click login.");
    EXPECT_EQ(doc.ignoreCase, 1);
    EXPECT_EQ(doc.encrypt, 0);
    EXPECT_EQ(doc.userLabel, "User:");
    EXPECT_EQ(doc.passwordLabel, "Password:");
    EXPECT_EQ(doc.loginLabel, "Login");
    EXPECT_TRUE(doc.mailHost.isEmpty());
    EXPECT_EQ(doc.retries, 3);
    EXPECT_EQ(doc.fontFamily, "Arial");
    EXPECT_EQ(doc.fontSize, 11);
    EXPECT_EQ(doc.fontBold, 1);
    EXPECT_EQ(doc.fontItalic, 0);
    EXPECT_EQ(doc.spacing, 5);
    EXPECT_EQ(doc.margin, 5);
    EXPECT_EQ(doc.borderThickness, 5);
    EXPECT_EQ(doc.borderStyle, 4);
    EXPECT_EQ(doc.borderColor, 0xC0DCC0u);
    EXPECT_EQ(doc.backgroundColor, 0xC0DCC0u);
    EXPECT_EQ(doc.loadingMessage, "Please wait while locks load...");
    EXPECT_EQ(doc.lockFile, "lock.txt");
    EXPECT_EQ(doc.reloadInterval, 300);
    EXPECT_EQ(doc.readLocksFromFile, 0);
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
