#include "publish/DocOutputs.h"

#include "generate/HtmlPage.h"
#include "generate/LockInputFile.h"
#include "OutputsTestSupport.h"
#include "util/ResourceText.h"
#include "util/StringIds.h"

#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QListWidget>
#include <QPlainTextEdit>

#include <unistd.h>

namespace {

// What the Resources dialog showed when it opened.
struct ShownResources
{
    QString html;
    QStringList entries;
    int selected = 0;
};

ModalDialogWatcher WatchResources(std::vector<ShownResources>& shown)
{
    return ModalDialogWatcher([&shown](QDialog& dialog) {
        ShownResources seen;
        seen.html = dialog.findChild<QPlainTextEdit*>(QStringLiteral("2204"))->toPlainText();
        const auto* list = dialog.findChild<QListWidget*>(QStringLiteral("2202"));
        for (int row = 0; row < list->count(); ++row)
            seen.entries.append(list->item(row)->text());
        seen.selected = int(list->selectedItems().size());
        shown.push_back(seen);
    });
}

// The HTML edit shows line breaks, not the CR LF pairs of the generated text.
QString AsShown(const QByteArray& html)
{
    return QString::fromLocal8Bit(html).replace(QLatin1String("\r\n"), QLatin1String("\n"));
}

class DocOutputsTest : public OutputsTest
{
protected:
    QWidget m_owner;
    DocOutputs m_outputs { m_doc, &m_owner };
};

TEST_F(DocOutputsTest, CancelledSaveAsWritesNothingAndOpensNothing)
{
    HookedPrompts prompts;
    prompts.AnswerSaveAs(QString());
    std::vector<ShownResources> shown;
    const ModalDialogWatcher watcher = WatchResources(shown);
    QByteArray path = Bytes("page.html");

    EXPECT_FALSE(m_outputs.CreateHtmlFile(path, true, false));

    EXPECT_EQ(path, Bytes("page.html"));
    EXPECT_FALSE(QFile::exists(Path("page.html")));
    EXPECT_EQ(watcher.Count(), 0);
    ASSERT_EQ(prompts.Asked().size(), 1u);
    const PromptRecord& asked = prompts.Asked()[0];
    EXPECT_EQ(asked.kind, PromptKind::SaveAs);
    EXPECT_EQ(asked.filter, "HTML Files (*.html, *.htm)|*.htm;*.html|All Files (*.*)|*.*||");
    EXPECT_EQ(asked.defaultExtension, "html");
    EXPECT_EQ(asked.initialPath, Path("page.html"));
}

TEST_F(DocOutputsTest, ChosenFileGetsTheFilePageAndTheResourcesDialogShowsIt)
{
    m_doc.readLocksFromFile = 1;
    m_doc.lockFile = "locks.txt";
    HookedPrompts prompts;
    prompts.AnswerSaveAs(Path("chosen.htm"));
    std::vector<ShownResources> shown;
    const ModalDialogWatcher watcher = WatchResources(shown);
    QByteArray path = Bytes("page.html");

    EXPECT_TRUE(m_outputs.CreateHtmlFile(path, true, false));

    const QByteArray page = BuildHtmlPage(m_doc, HtmlPageForm::File);
    EXPECT_EQ(path, Bytes("chosen.htm"));
    EXPECT_FALSE(m_doc.IsModified());
    EXPECT_EQ(ReadBytes(Path("chosen.htm")), page);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].html, AsShown(page));
    EXPECT_EQ(shown[0].entries,
        (QStringList { QFile::decodeName(AppletClassPath()), QStringLiteral("locks.txt") }));
    EXPECT_EQ(shown[0].selected, 2);
}

TEST_F(DocOutputsTest, PreviewFormIsWrittenWithoutAskingOrShowingResources)
{
    HookedPrompts prompts;
    std::vector<ShownResources> shown;
    const ModalDialogWatcher watcher = WatchResources(shown);
    QByteArray path = Bytes("~preview.html");

    EXPECT_TRUE(m_outputs.CreateHtmlFile(path, false, true));

    EXPECT_EQ(ReadBytes(Path("~preview.html")), BuildHtmlPage(m_doc, HtmlPageForm::Preview));
    EXPECT_TRUE(prompts.Asked().empty());
    EXPECT_EQ(watcher.Count(), 0);
}

TEST_F(DocOutputsTest, UnwritableTargetShowsTheFileErrorAndNoResources)
{
    ASSERT_TRUE(WriteBytes(Path("plain"), "a file, not a folder"));
    HookedPrompts prompts;
    prompts.AnswerSaveAs(Path("plain/page.html"));
    prompts.AnswerMessage(PromptAnswer::Ok);
    std::vector<ShownResources> shown;
    const ModalDialogWatcher watcher = WatchResources(shown);
    QByteArray path = Bytes("page.html");

    EXPECT_FALSE(m_outputs.CreateHtmlFile(path, true, false));

    EXPECT_EQ(path, Bytes("plain/page.html"));
    EXPECT_EQ(prompts.MessageTexts(),
        QStringList { QString::fromLocal8Bit(FormatResourceText(IDS_BAD_PATH, path)) });
    EXPECT_EQ(prompts.Asked().back().icon, PromptIcon::Warning);
    EXPECT_EQ(watcher.Count(), 0);
}

TEST_F(DocOutputsTest, ReadOnlyFolderShowsAccessDenied)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "running as root, which may write into a read-only folder";
    ASSERT_TRUE(QDir().mkdir(Path("locked")));
    QFile::setPermissions(Path("locked"), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    HookedPrompts prompts;
    prompts.AnswerMessage(PromptAnswer::Ok);
    QByteArray path = Bytes("locked/page.html");

    EXPECT_FALSE(m_outputs.CreateHtmlFile(path, false, true));

    EXPECT_EQ(prompts.MessageTexts(),
        QStringList { QString::fromLocal8Bit(FormatResourceText(IDS_ACCESS_DENIED, path)) });
    QFile::setPermissions(
        Path("locked"), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

TEST_F(DocOutputsTest, ClipboardHoldsTheSegmentThenResourcesShowIt)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setText(QStringLiteral("probe"));
    if (clipboard->text() != QLatin1String("probe"))
        GTEST_SKIP() << "this platform offers no clipboard to the test";
    m_doc.width = 250;
    HookedPrompts prompts;
    std::vector<ShownResources> shown;
    const ModalDialogWatcher watcher = WatchResources(shown);

    m_outputs.CopyHtmlToClipboard();

    const QByteArray segment = BuildHtmlPage(m_doc, HtmlPageForm::Segment);
    EXPECT_EQ(clipboard->text(), QString::fromLocal8Bit(segment));
    EXPECT_TRUE(clipboard->text().endsWith(QLatin1String("</APPLET>\r\n")));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].html, AsShown(segment));
    EXPECT_TRUE(prompts.Asked().empty());
}

TEST_F(DocOutputsTest, LockInputFileAsksOnlyWhenToldAndKeepsTheChosenName)
{
    m_doc.locks.resize(2);
    m_doc.locks[0].userId = "ann";
    m_doc.locks[1].userId = "bob";
    HookedPrompts prompts;
    prompts.AnswerSaveAs(QString());
    prompts.AnswerSaveAs(Path("picked.dat"));
    QByteArray path = Bytes("lock.txt");

    EXPECT_FALSE(m_outputs.SaveLockInputFile(path, true));
    EXPECT_FALSE(QFile::exists(Path("lock.txt")));
    EXPECT_TRUE(m_outputs.SaveLockInputFile(path, true));
    EXPECT_EQ(path, Bytes("picked.dat"));
    EXPECT_EQ(ReadBytes(Path("picked.dat")), BuildLockInputFile(m_doc));

    ASSERT_EQ(prompts.Asked().size(), 2u);
    EXPECT_EQ(prompts.Asked()[0].filter,
        "Zarnith Input Files (*.txt, *.dat)|*.txt;*.dat|All Files (*.*)|*.*||");
    EXPECT_EQ(prompts.Asked()[0].defaultExtension, "txt");
    EXPECT_EQ(prompts.Asked()[0].initialPath, Path("lock.txt"));

    QByteArray direct = Bytes("direct.txt");
    EXPECT_TRUE(m_outputs.SaveLockInputFile(direct, false));
    EXPECT_EQ(prompts.Asked().size(), 2u);
    EXPECT_EQ(ReadBytes(Path("direct.txt")), BuildLockInputFile(m_doc));
}

} // namespace
