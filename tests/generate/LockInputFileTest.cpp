#include "generate/LockInputFile.h"

#include "generate/HtmlPage.h"
#include "generate/LockLines.h"
#include "generate/ParameterBlock.h"
#include "support/GenerateTestSupport.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

Doc TwoLockDoc()
{
    Doc doc;
    doc.locks.push_back(MakeLock("ann", "", "C:\\web\\a.html", ""));
    doc.locks.push_back(MakeLock("Bob", "Pa ss|\"x\"", "http://example.com/b?c=1&#38;d", "_top"));
    return doc;
}

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

TEST(LockInputFile, OneLinePerLockWithBackslashesDoubled)
{
    Doc doc = TwoLockDoc();
    const QByteArray expected = CrLfLines({ "Lock0=ann| |C:\\\\web\\\\a.html| ",
        "Lock1=Bob|Pa ss|\"x\"|http://example.com/b?c=1&#38;d|_top" });
    EXPECT_EQ(BuildLockInputFile(doc), expected);
    // The page keeps a single backslash for the same lock.
    EXPECT_TRUE(BuildParameterBlock(doc).contains("VALUE=\"ann| |C:\\web\\a.html| \""));
    // Whether the page names the file does not change the file.
    doc.readLocksFromFile = 1;
    EXPECT_EQ(BuildLockInputFile(doc), expected);
}

TEST(LockInputFile, ScrambledRecordsKeepTheirPrefixAndUnscrambleAfterUndoubling)
{
    Doc doc = TwoLockDoc();
    doc.encrypt = 1;
    // Enough locks that the scrambler is bound to produce backslashes of its own.
    for (int i = 0; i < 40; ++i)
        doc.locks.push_back(MakeLock("user" + QByteArray::number(i), "pw", "p.html", ""));
    const QByteArrayList lines = SplitCrLf(BuildLockInputFile(doc));
    ASSERT_EQ(lines.size(), int(doc.locks.size()));
    bool sawBackslash = false;
    for (int i = 0; i < lines.size(); ++i) {
        const QByteArray prefix = "Lock" + QByteArray::number(i) + "=";
        ASSERT_TRUE(lines[i].startsWith(prefix)) << lines[i].constData();
        QByteArray record = lines[i].mid(prefix.size());
        sawBackslash = sawBackslash || record.contains('\\');
        record.replace("\\\\", "\\");
        EXPECT_EQ(Unscramble(record), LockRecord(doc.locks[i])) << i;
    }
    EXPECT_TRUE(sawBackslash);
}

TEST(LockInputFile, EveryScrambledValueOfThePageUnscramblesToItsPlainValue)
{
    Doc doc = TwoLockDoc();
    for (int i = 0; i < 30; ++i)
        doc.locks.push_back(MakeLock("u" + QByteArray::number(i), "&#" + QByteArray::number(i),
            "http://x/" + QByteArray::number(i), "_blank"));
    doc.correctEmail = "a@b.c";
    doc.correctAudio = "/s/ok.au";
    doc.incorrectAudio = "C:\\s\\no.au";
    doc.failEmail = "f@b.c";
    doc.failUrl = "fail.html";
    doc.mailHost = "mail.b.c";

    Doc plainDoc = doc;
    doc.encrypt = 1;
    const QByteArray page = BuildHtmlPage(doc, HtmlPageForm::File);
    const QByteArray plainPage = BuildHtmlPage(plainDoc, HtmlPageForm::File);

    static const QRegularExpression quoted(QStringLiteral("^<PARAM NAME=(\\w+) VALUE=\"(.*)\">$"));
    QMap<QString, QByteArray> plainValues;
    for (const QByteArray& line : SplitCrLf(plainPage)) {
        const auto m = quoted.match(QString::fromLatin1(line));
        if (m.hasMatch())
            plainValues[m.captured(1)] = DecodeAttribute(m.captured(2).toLatin1());
    }
    const QStringList scrambledNames = { QStringLiteral("CorrectEmail"),
        QStringLiteral("CorrectAudio"), QStringLiteral("IncorrectAudio"),
        QStringLiteral("FailEmail"), QStringLiteral("FailUrl"), QStringLiteral("MailHost") };
    int checked = 0;
    for (const QByteArray& line : SplitCrLf(page)) {
        const auto m = quoted.match(QString::fromLatin1(line));
        if (!m.hasMatch())
            continue;
        const QString name = m.captured(1);
        if (!scrambledNames.contains(name) && !name.startsWith(QLatin1String("Lock")))
            continue;
        ++checked;
        EXPECT_EQ(Unscramble(DecodeAttribute(m.captured(2).toLatin1())), plainValues.value(name))
            << qPrintable(name);
    }
    EXPECT_EQ(checked, 6 + int(doc.locks.size()));
}

TEST(LockInputFile, WritingReplacesTheFileWithExactlyTheText)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("lock.txt"));
    const Doc doc = TwoLockDoc();
    ASSERT_TRUE(WriteLockInputFile(doc, path).ok);
    EXPECT_EQ(ReadAll(path), BuildLockInputFile(doc));

    // No locks: the old content goes, a zero-length file stays.
    ASSERT_TRUE(WriteLockInputFile(Doc(), path).ok);
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_EQ(ReadAll(path), QByteArray());
}

} // namespace
