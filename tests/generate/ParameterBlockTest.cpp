#include "generate/ParameterBlock.h"

#include "generate/LockLines.h"
#include "support/GenerateTestSupport.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

// The NAME of every PARAM line, in order.
QByteArrayList ParameterNames(const QByteArray& block)
{
    static const QRegularExpression name(QStringLiteral("^<PARAM NAME=([A-Za-z0-9]+) VALUE="));
    QByteArrayList names;
    for (const QByteArray& line : SplitCrLf(block)) {
        const auto match = name.match(QString::fromLatin1(line));
        names.append(
            match.hasMatch() ? match.captured(1).toLatin1() : "<not a PARAM: " + line + ">");
    }
    return names;
}

// The VALUE of the named line, without quotes and decoded as a browser would; empty when absent.
QByteArray ParameterValue(const QByteArray& block, const QByteArray& name)
{
    const QByteArray prefix = "<PARAM NAME=" + name + " VALUE=";
    for (const QByteArray& line : SplitCrLf(block)) {
        if (!line.startsWith(prefix))
            continue;
        QByteArray value = line.mid(prefix.size());
        value.chop(1); // ">"
        if (value.startsWith('"') && value.endsWith('"'))
            value = value.mid(1, value.size() - 2);
        return DecodeAttribute(value);
    }
    return {};
}

// Every value changed from its default, so that every line appears.
Doc FullyChangedDoc()
{
    Doc doc;
    doc.correctEmail = "ok@example.com";
    doc.correctAudio = "/sounds/ok.au";
    doc.incorrectMessage = "Wrong.";
    doc.incorrectAudio = "/sounds/bad.au";
    doc.failMessage = "Go away.";
    doc.failEmail = "alarm@example.com";
    doc.failUrl = "http://example.com/denied.html";
    doc.ignoreCase = 0;
    doc.encrypt = 1;
    doc.initialMessage = "Hello.";
    doc.userLabel = "Name:";
    doc.passwordLabel = "Secret:";
    doc.loginLabel = "Enter";
    doc.mailHost = "smtp.example.com";
    doc.retries = 5;
    doc.fontFamily = "Courier";
    doc.fontSize = 14;
    doc.fontBold = 0;
    doc.fontItalic = 1;
    doc.spacing = 6;
    doc.margin = 7;
    doc.borderThickness = 2;
    doc.borderStyle = 1;
    doc.borderColor = MakeColour(1, 2, 3);
    doc.backgroundColor = MakeColour(4, 5, 6);
    doc.loadingMessage = "Loading...";
    doc.readLocksFromFile = 1;
    doc.reloadInterval = 60;
    return doc;
}

TEST(ParameterBlock, DefaultProjectGivesOnlyItsLockLines)
{
    Doc doc;
    EXPECT_EQ(BuildParameterBlock(doc), QByteArray());

    doc.locks.push_back(MakeLock("ann", "", "a.html", ""));
    doc.locks.push_back(MakeLock("bob", "pw", "b.html", "_top"));
    EXPECT_EQ(BuildParameterBlock(doc),
        CrLfLines({ "<PARAM NAME=Lock0 VALUE=\"ann| |a.html| \">",
            "<PARAM NAME=Lock1 VALUE=\"bob|pw|b.html|_top\">" }));
}

TEST(ParameterBlock, EveryChangedValueWritesItsLineInTheFixedOrder)
{
    Doc doc = FullyChangedDoc();
    EXPECT_EQ(ParameterNames(BuildParameterBlock(doc)),
        QByteArrayList({ "Encrypt", "CorrectEmail", "CorrectAudio", "IncorrectMessage",
            "IncorrectAudio", "FailMessage", "FailEmail", "FailUrl", "ignoreCase", "InitialMessage",
            "UserLabel", "PasswordLabel", "LoginLabel", "MailHost", "Retries", "FontFamily",
            "FontSize", "FontStyle", "Spacing", "Margin", "BorderThickness", "BorderStyle",
            "BorderColor", "BackgroundColor", "LoadingMessage", "File", "ReloadInterval" }));

    // Without the lock input file the locks take the File line's place.
    doc.readLocksFromFile = 0;
    doc.locks.push_back(MakeLock("ann", "", "a.html", ""));
    doc.locks.push_back(MakeLock("bob", "", "b.html", ""));
    const QByteArrayList names = ParameterNames(BuildParameterBlock(doc));
    ASSERT_EQ(names.size(), 28);
    EXPECT_EQ(
        names.mid(24), QByteArrayList({ "LoadingMessage", "Lock0", "Lock1", "ReloadInterval" }));
}

TEST(ParameterBlock, NumbersColoursAndUnscrambledTextsAreWrittenAsHeld)
{
    const Doc doc = FullyChangedDoc();
    const QByteArray block = BuildParameterBlock(doc);
    const QByteArrayList lines = SplitCrLf(block);
    EXPECT_EQ(lines.front(), "<PARAM NAME=Encrypt VALUE=1>");
    for (const char* line :
        { "<PARAM NAME=ignoreCase VALUE=0>", "<PARAM NAME=IncorrectMessage VALUE=\"Wrong.\">",
            "<PARAM NAME=FailMessage VALUE=\"Go away.\">",
            "<PARAM NAME=InitialMessage VALUE=\"Hello.\">",
            "<PARAM NAME=UserLabel VALUE=\"Name:\">",
            "<PARAM NAME=PasswordLabel VALUE=\"Secret:\">",
            "<PARAM NAME=LoginLabel VALUE=\"Enter\">", "<PARAM NAME=Retries VALUE=5>",
            "<PARAM NAME=FontFamily VALUE=\"Courier\">", "<PARAM NAME=FontSize VALUE=14>",
            "<PARAM NAME=FontStyle VALUE=2>", "<PARAM NAME=Spacing VALUE=6>",
            "<PARAM NAME=Margin VALUE=7>", "<PARAM NAME=BorderThickness VALUE=2>",
            "<PARAM NAME=BorderStyle VALUE=1>", "<PARAM NAME=BorderColor VALUE=010203>",
            "<PARAM NAME=BackgroundColor VALUE=040506>",
            "<PARAM NAME=LoadingMessage VALUE=\"Loading...\">",
            "<PARAM NAME=ReloadInterval VALUE=60>" })
        EXPECT_TRUE(lines.contains(line)) << line;
}

TEST(ParameterBlock, EncryptScramblesExactlyTheLockInformation)
{
    Doc doc = FullyChangedDoc();
    doc.lockFile = "C:\\Site\\lock.txt";
    const QByteArray block = BuildParameterBlock(doc);
    const QList<std::pair<QByteArray, QByteArray>> scrambled
        = { { "CorrectEmail", "ok@example.com" }, { "CorrectAudio", "ok.au" },
              { "IncorrectAudio", "bad.au" }, { "FailEmail", "alarm@example.com" },
              { "FailUrl", "http://example.com/denied.html" }, { "MailHost", "smtp.example.com" },
              { "File", "lock.txt" } };
    for (const auto& [name, plain] : scrambled) {
        const QByteArray value = ParameterValue(block, name);
        EXPECT_NE(value, plain) << name.constData();
        EXPECT_EQ(Unscramble(value), plain) << name.constData();
    }

    // ScrambleText scrambles for any non-zero flag, so the page must announce it for each one.
    doc.encrypt = 2;
    EXPECT_EQ(BuildParameterBlock(doc), block);

    // The same project unscrambled carries the plain values.
    doc.encrypt = 0;
    const QByteArray plainBlock = BuildParameterBlock(doc);
    EXPECT_FALSE(plainBlock.contains("Encrypt"));
    for (const auto& [name, plain] : scrambled)
        EXPECT_EQ(ParameterValue(plainBlock, name), plain) << name.constData();
}

TEST(ParameterBlock, DefaultsAreComparedExactly)
{
    Doc doc;
    doc.userLabel = "user:";
    doc.initialMessage = "Enter your user ID and\npassword, then click login."; // a real line break
    doc.borderColor = MakeColour(192, 220, 193);
    doc.backgroundColor = MakeColour(255, 0, 128);
    EXPECT_EQ(BuildParameterBlock(doc),
        CrLfLines({ "<PARAM NAME=InitialMessage VALUE=\"Enter your user ID and\npassword, then "
                    "click login.\">",
            "<PARAM NAME=UserLabel VALUE=\"user:\">", "<PARAM NAME=BorderColor VALUE=C0DCC1>",
            "<PARAM NAME=BackgroundColor VALUE=FF0080>" }));
}

TEST(ParameterBlock, FontStyleIsWrittenUnlessBoldAlone)
{
    const QList<std::tuple<int, int, QByteArray>> cases = {
        { 1, 0, "" },
        { 0, 0, "<PARAM NAME=FontStyle VALUE=0>\r\n" },
        { 0, 1, "<PARAM NAME=FontStyle VALUE=2>\r\n" },
        { 1, 1, "<PARAM NAME=FontStyle VALUE=3>\r\n" },
    };
    for (const auto& [bold, italic, expected] : cases) {
        Doc doc;
        doc.fontBold = bold;
        doc.fontItalic = italic;
        EXPECT_EQ(BuildParameterBlock(doc), expected) << bold << italic;
    }
}

TEST(ParameterBlock, LockFileModeCarriesOnlyTheFileName)
{
    Doc doc;
    doc.locks.push_back(MakeLock("ann", "", "a.html", ""));
    doc.readLocksFromFile = 1;
    doc.lockFile = "C:\\Site\\lock.txt";
    EXPECT_EQ(BuildParameterBlock(doc), CrLfLines({ "<PARAM NAME=File VALUE=\"lock.txt\">" }));

    doc.lockFile = "/srv/site/locks.dat";
    EXPECT_EQ(BuildParameterBlock(doc), CrLfLines({ "<PARAM NAME=File VALUE=\"locks.dat\">" }));

    // Only exactly 1 selects the file; any other value keeps the locks in the page.
    doc.readLocksFromFile = 2;
    EXPECT_EQ(BuildParameterBlock(doc), BuildLockLines(doc, false));
}

TEST(ParameterBlock, MessagesTurnDoubleQuotesIntoApostrophePairs)
{
    Doc doc;
    doc.incorrectMessage = "Say \"please\"\\nthen retry";
    doc.failMessage = "\"";
    EXPECT_EQ(BuildParameterBlock(doc),
        CrLfLines({ "<PARAM NAME=IncorrectMessage VALUE=\"Say ''please''\\nthen retry\">",
            "<PARAM NAME=FailMessage VALUE=\"''\">" }));
}

TEST(ParameterBlock, DoubleQuotesInOtherValuesCannotEndTheAttribute)
{
    Doc doc;
    doc.userLabel = "Say \"who\":";
    doc.fontFamily = "\"Arial\"";
    doc.failUrl = "x.html?q=\"a\"";
    QByteArray block = BuildParameterBlock(doc);
    EXPECT_EQ(block,
        CrLfLines({ "<PARAM NAME=FailUrl VALUE=\"x.html?q=&quot;a&quot;\">",
            "<PARAM NAME=UserLabel VALUE=\"Say &quot;who&quot;:\">",
            "<PARAM NAME=FontFamily VALUE=\"&quot;Arial&quot;\">" }));

    doc.encrypt = 1;
    block = BuildParameterBlock(doc);
    EXPECT_EQ(block.count('"'), 6); // only the attribute delimiters
    EXPECT_EQ(Unscramble(ParameterValue(block, "FailUrl")), doc.failUrl);
}

TEST(ParameterBlock, CharacterReferencesAreProtectedOnEveryLine)
{
    Doc doc;
    doc.userLabel = "&#169; User:";
    doc.locks.push_back(MakeLock("ann", "&#38;", "a.html", ""));
    EXPECT_EQ(BuildParameterBlock(doc),
        CrLfLines({ "<PARAM NAME=UserLabel VALUE=\"&amp#169; User:\">",
            "<PARAM NAME=Lock0 VALUE=\"ann|&amp;#38;|a.html| \">" }));
}

TEST(EscapeCharacterReferences, OnlyAmpersandHashDigitIsEscaped)
{
    const QList<std::pair<QByteArray, QByteArray>> cases = {
        { "&#169;", "&amp#169;" },
        { "&#1", "&amp#1" }, // exactly three characters left
        { "&#", "&#" },
        { "a&#", "a&#" },
        { "&amp;", "&amp;" },
        { "&#x41;", "&#x41;" },
        { "&#;", "&#;" },
        { "&&#9", "&&amp#9" },
        { "&#1&#2", "&amp#1&amp#2" },
        { "", "" },
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(EscapeCharacterReferences(text), expected) << text.constData();
}

TEST(EscapeQuotes, ReplacesEachDoubleQuoteAndNothingElse)
{
    EXPECT_EQ(EscapeQuotes("a\"b\"\"c' &#1;"), "a''b''''c' &#1;");
    EXPECT_EQ(EscapeQuotes(""), "");
}

} // namespace
