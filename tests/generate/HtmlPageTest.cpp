#include "generate/HtmlPage.h"

#include "generate/BoxPage.h"
#include "generate/ModernBox.h"
#include "generate/ParameterBlock.h"
#include "generate/ResourceList.h"
#include "support/GenerateTestSupport.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <gtest/gtest.h>

namespace {

// Distinct values show which field lands where.
ProgramInfo TestInfo()
{
    ProgramInfo info;
    info.productName = "Prod";
    info.productVersion = "9.8";
    info.internalName = "Klass";
    return info;
}

// The page's lines as the page layout lists them, for a project of the given size and block.
struct PageLines
{
    QByteArray comment;
    QByteArray applet;
    QByteArray name;
    QByteArray copyright;
};

PageLines ExpectedLines(const ProgramInfo& info, int width, int height)
{
    return {
        "<!-- This applet was created by " + info.productName + " Version " + info.productVersion
            + " " + HtmlCommentNotice + ". -->",
        "<APPLET CODE=" + info.internalName + ".class WIDTH=" + QByteArray::number(width)
            + " HEIGHT=" + QByteArray::number(height) + ">",
        "<PARAM NAME=name VALUE=\"" + info.internalName + "\">",
        "<PARAM NAME=Copyright VALUE=\"" + info.internalName
            + " login applet, Copyright (C) 2026 Velto\">",
    };
}

TEST(HtmlPage, DefaultProjectInEachForm)
{
    const Doc doc;
    const ProgramInfo info = TestInfo();
    const PageLines l = ExpectedLines(info, 400, 200);

    EXPECT_EQ(BuildHtmlPage(doc, HtmlPageForm::File, info),
        CrLfLines({ "<HTML>", "<BODY>", l.comment, l.applet, l.name, l.copyright, "</APPLET>",
            "</BODY>", "</HTML>" }));
    EXPECT_EQ(BuildHtmlPage(doc, HtmlPageForm::Preview, info),
        CrLfLines(
            { "<HTML>", "<TITLE>Prod Preview</TITLE>", "<BODY>", "", "", "<CENTER>" + l.comment,
                l.applet, l.name, l.copyright, "</APPLET>", "</CENTER>", "</BODY>", "</HTML>" }));
    EXPECT_EQ(BuildHtmlPage(doc, HtmlPageForm::Segment, info),
        CrLfLines({ l.comment, l.applet, l.name, l.copyright, "</APPLET>" }));
}

TEST(HtmlPage, ProgramInformationNamesTheAppletClass)
{
    const QByteArrayList lines = SplitCrLf(BuildHtmlPage(Doc(), HtmlPageForm::File));
    ASSERT_GE(lines.size(), 5);
    EXPECT_EQ(lines[2],
        QByteArray("<!-- This applet was created by Zarnith Version 1.02 ") + HtmlCommentNotice
            + ". -->");
    EXPECT_EQ(lines[3], "<APPLET CODE=Zarnith.class WIDTH=400 HEIGHT=200>");
    EXPECT_EQ(lines[4], "<PARAM NAME=name VALUE=\"Zarnith\">");
    EXPECT_EQ(lines[5],
        "<PARAM NAME=Copyright VALUE=\"Zarnith login applet, Copyright (C) 2026 Velto\">");
}

TEST(HtmlPage, NoticesAreSingleLinesAndTheCopyrightHasNoQuote)
{
    for (const QByteArray& notice :
        { QByteArray(HtmlCommentNotice), AppletCopyrightNotice(CurrentProgramInfo()) }) {
        EXPECT_FALSE(notice.isEmpty());
        EXPECT_FALSE(notice.contains('\n') || notice.contains('\r')) << notice.constData();
    }
    EXPECT_FALSE(AppletCopyrightNotice(CurrentProgramInfo()).contains('"'));
    EXPECT_FALSE(QByteArray(HtmlCommentNotice).contains("--")); // would end the comment early
}

TEST(HtmlPage, ParameterBlockFollowsTheCopyrightLine)
{
    Doc doc;
    doc.locks.push_back(MakeLock("ann", "", "a.html", ""));
    doc.retries = 4;
    const ProgramInfo info = TestInfo();
    const PageLines l = ExpectedLines(info, 400, 200);
    EXPECT_EQ(BuildHtmlPage(doc, HtmlPageForm::Segment, info),
        CrLfLines({ l.comment, l.applet, l.name, l.copyright }) + BuildParameterBlock(doc)
            + "</APPLET>\r\n");
}

TEST(HtmlPage, WidthChangesOnlyTheAppletLine)
{
    const ProgramInfo info = TestInfo();
    Doc narrow;
    narrow.width = 250;
    for (const HtmlPageForm form :
        { HtmlPageForm::File, HtmlPageForm::Preview, HtmlPageForm::Segment }) {
        const QByteArrayList before = SplitCrLf(BuildHtmlPage(Doc(), form, info));
        const QByteArrayList after = SplitCrLf(BuildHtmlPage(narrow, form, info));
        ASSERT_EQ(before.size(), after.size());
        int changed = 0;
        for (int i = 0; i < before.size(); ++i) {
            if (before[i] != after[i]) {
                ++changed;
                EXPECT_EQ(after[i], "<APPLET CODE=Klass.class WIDTH=250 HEIGHT=200>");
            }
        }
        EXPECT_EQ(changed, 1) << int(form);
    }
}

TEST(HtmlPage, EachKindOfBoxInEachForm)
{
    const ProgramInfo info = TestInfo();
    Doc doc;
    doc.locks.push_back(MakeLock("ann", "pw", "a.html", "_top"));
    doc.initialMessage = "Caf\xC3\xA9 </script>\\nline";
    doc.readLocksFromFile = 1;
    doc.lockFile = "C:\\site\\lock.txt";
    const QByteArray lockData = R"({"format":"zarnith-locks/2","locks":[]})";
    for (const HtmlPageForm form :
        { HtmlPageForm::File, HtmlPageForm::Preview, HtmlPageForm::Segment }) {
        const QByteArray classic = BuildHtmlPage(doc, form, info);
        EXPECT_EQ(BuildBoxPage(doc, BoxKind::Classic, form, lockData, info), classic);

        // The box is ASCII, whatever the project's texts, and no text can end its script.
        const QByteArray box = BuildModernBox(doc, form, lockData);
        EXPECT_TRUE(std::all_of(box.begin(), box.end(), [](char ch) { return ch > 0; }));
        EXPECT_TRUE(box.contains("Caf\\u00e9 \\u003c/script\\u003e\\\\nline"));
        EXPECT_EQ(box.count("</script>"), form == HtmlPageForm::Preview ? 3 : 2);
        // Only the preview carries the locks when they are read from a file.
        EXPECT_EQ(box.contains(lockData), form == HtmlPageForm::Preview) << int(form);
        EXPECT_EQ(box.contains("\"lockFile\":\"lock.json\""), form != HtmlPageForm::Preview);

        QByteArray both = BuildBoxPage(doc, BoxKind::Both, form, lockData, info);
        EXPECT_EQ(both.indexOf(box) + box.size(), both.indexOf("</APPLET>"));
        EXPECT_EQ(both.replace(box, ""), classic) << int(form);

        const QByteArray modern = BuildBoxPage(doc, BoxKind::Modern, form, lockData, info);
        EXPECT_FALSE(modern.contains("<APPLET"));
        EXPECT_TRUE(modern.contains("<!-- This login box was created by Prod Version 9.8 "
            + QByteArray(HtmlCommentNotice) + ". -->\r\n" + box));
        EXPECT_EQ(modern.startsWith("<!DOCTYPE html>\r\n<HTML>\r\n<META charset=\"utf-8\">\r\n"),
            form != HtmlPageForm::Segment);
    }
    // The window's preview differs from the preview form only in where its box's locks come from.
    for (const BoxKind kind : { BoxKind::Classic, BoxKind::Modern, BoxKind::Both }) {
        QByteArray preview = BuildBoxPage(doc, kind, HtmlPageForm::Preview, lockData, info);
        preview.replace(lockData, "</script>\r\n<script src=\"~k.js?\">");
        EXPECT_EQ(BuildWindowPreviewPage(doc, kind, lockData, "~k.js?", info), preview);
    }
}

TEST(HtmlPage, TheBoxsSettingsAreWhatAJsonWriterMakesOfThemWithOnlyPrintableAscii)
{
    // Every character of the first plane but the surrogates, one beyond it, and a code page text.
    QString every;
    for (char16_t code = 1; code != 0; ++code) {
        if (!QChar::isSurrogate(code))
            every += QChar(code);
    }
    every += QString::fromUcs4(U"\U0001F600");
    Doc doc;
    doc.initialMessage = every.toUtf8();
    doc.failMessage = "Caf\xE9 \x80";
    const QByteArray box = BuildModernBox(doc, HtmlPageForm::File, {});
    const QByteArray start = "class=\"zarnith-settings\">";
    const qsizetype at = box.indexOf(start) + start.size();
    const QByteArray settings = box.mid(at, box.indexOf("</script>", at) - at);

    const QJsonObject object = QJsonDocument::fromJson(settings).object();
    EXPECT_EQ(object.value("initialMessage").toString(), every);
    EXPECT_EQ(
        object.value("failMessage").toString(), QString::fromUtf8("Caf\xC3\xA9 \xE2\x82\xAC"));
    QByteArray written;
    for (const QChar ch : QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact))) {
        const char16_t code = ch.unicode();
        written += code >= 0x20 && code < 0x7F && code != '<' && code != '>' && code != '&'
            ? QByteArray(1, char(code))
            : "\\u" + QByteArray::number(code, 16).rightJustified(4, '0');
    }
    EXPECT_EQ(settings, written);
}

TEST(HtmlPage, ResourcesFollowTheKindOfBox)
{
    const ProgramInfo info = TestInfo();
    Doc doc;
    doc.correctAudio = "C:\\Sounds\\ok.au";
    doc.incorrectAudio = "/s/beep";
    doc.readLocksFromFile = 1;
    doc.lockFile = "C:\\site\\locks";
    const QList<QByteArray> classic = GetResourceList(doc, info);
    QList<QByteArray> listed;
    for (const BoxKind kind : { BoxKind::Classic, BoxKind::Modern, BoxKind::Both }) {
        for (const BoxResource& resource : GetBoxResources(doc, kind, info))
            listed.append(BoxKindName(kind) + ' ' + resource.path + ' ' + resource.source);
    }
    const QByteArray classPath = AppletClassPath(info);
    EXPECT_EQ(listed,
        (QList<QByteArray> { "classic " + classPath + ' ' + classPath,
            "classic C:\\site\\locks C:\\site\\locks",
            "classic C:\\Sounds\\ok.au C:\\Sounds\\ok.au", "classic /s/beep /s/beep",
            "modern C:\\site\\locks.json C:\\site\\locks.json",
            "modern C:\\Sounds\\ok.wav C:\\Sounds\\ok.au", "modern /s/beep.wav /s/beep",
            "both " + classPath + ' ' + classPath, "both C:\\site\\locks C:\\site\\locks",
            "both C:\\Sounds\\ok.au C:\\Sounds\\ok.au", "both /s/beep /s/beep",
            "both C:\\site\\locks.json C:\\site\\locks.json",
            "both C:\\Sounds\\ok.wav C:\\Sounds\\ok.au", "both /s/beep.wav /s/beep" }));
    EXPECT_EQ(classic.size(), 4);
    EXPECT_EQ(ModernLockFileName(doc), "locks.json");

    // With member areas a publish writes the lock data and the protected pages' script, also
    // when the box page carries its locks.
    doc.readLocksFromFile = 0;
    doc.areas.resize(1);
    QList<QByteArray> members;
    for (const BoxResource& resource : GetBoxResources(doc, BoxKind::Modern, info))
        members.append(resource.path);
    EXPECT_EQ(members,
        (QList<QByteArray> { "C:\\site\\locks.json", "C:\\site\\zarnith-box.js",
            "C:\\Sounds\\ok.wav", "/s/beep.wav" }));
}

} // namespace
