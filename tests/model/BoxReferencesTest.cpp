#include "model/BoxReferences.h"

#include "model/Doc.h"

#include <gtest/gtest.h>

TEST(BoxReferences, OnlyRelativeAndWebAddressesAndPlainNamesAreTaken)
{
    struct Case
    {
        const char* text;
        bool address;
        bool name;
    };
    const Case cases[] = {
        { "members/ann.html", true, false },
        { "../up.html?a=b:c#top", true, false },
        { "//elsewhere.example/x", true, false },
        { "HTTPS://example.com/", true, false },
        { "http:relative", true, false },
        { "", true, false },
        { "javascript:alert(1)", false, false },
        { " \x01JavaScript:x", false, false },
        { "java\tscr\nipt:x", false, false },
        { "data:text/html,x", false, false },
        { "C:\\site\\a.html", false, false },
        { "mailto:a@b", false, false },
        { "1abc:x", true, false },
        { "lock.json", true, true },
        { "ok sound.wav", true, true },
        { "a?b", true, false },
        { "a#b", true, false },
        { "100%.wav", true, false },
        { "..", true, false },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsWebAddress(c.text), c.address) << c.text;
        EXPECT_EQ(IsPlainFileName(c.text), c.name) << c.text;
    }
}

TEST(BoxReferences, TheFirstRefusedReferenceIsNamed)
{
    Doc doc;
    EXPECT_FALSE(ModernBoxRefusal(doc));
    doc.locks
        = { LockEntry { "ann", "pw", "a.html", "" }, LockEntry { "bob", "pw", "vbscript:x", "" } };
    doc.failUrl = "javascript:back()";
    doc.correctAudio = "/snd/http:evil?x.au";
    doc.lockFile = "locks.txt";
    EXPECT_EQ(ModernBoxRefusal(doc).value_or(""),
        "Lock 2 (\"bob\") cannot be used by the modern login box: its URL \"vbscript:x\" is "
        "neither an address on this site nor one that starts with http:// or https://.");
    doc.locks.pop_back();
    EXPECT_TRUE(
        ModernBoxRefusal(doc).value_or("").startsWith("The fail URL \"javascript:back()\""));
    doc.failUrl = " https://example.com/ ";
    EXPECT_TRUE(ModernBoxRefusal(doc).value_or("").endsWith("\"http:evil?x.au\" cannot be used."));
    doc.correctAudio = "C:\\Sounds\\ok.au";
    EXPECT_FALSE(ModernBoxRefusal(doc));
    doc.readLocksFromFile = 1;
    doc.lockFile = "C:\\Site\\";
    EXPECT_TRUE(ModernBoxRefusal(doc));
}
