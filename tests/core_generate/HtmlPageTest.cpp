#include "generate/HtmlPage.h"

#include "generate/ParameterBlock.h"
#include "GenerateTestSupport.h"

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
        QByteArray("<PARAM NAME=Copyright VALUE=\"") + HtmlCopyrightNotice + "\">",
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
}

TEST(HtmlPage, NoticesAreSingleLinesAndTheCopyrightHasNoQuote)
{
    for (const QByteArray& notice :
        { QByteArray(HtmlCommentNotice), QByteArray(HtmlCopyrightNotice) }) {
        EXPECT_FALSE(notice.isEmpty());
        EXPECT_FALSE(notice.contains('\n') || notice.contains('\r')) << notice.constData();
    }
    EXPECT_FALSE(QByteArray(HtmlCopyrightNotice).contains('"'));
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

} // namespace
