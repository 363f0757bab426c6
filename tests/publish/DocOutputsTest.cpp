#include "publish/DocOutputs.h"

#include "framework/ProgramSettings.h"
#include "generate/HtmlPage.h"
#include "generate/LockInputFile.h"
#include "support/OutputsTestSupport.h"
#include "support/TestForms.h"
#include "util/StringIds.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QListWidget>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>

namespace {

// What the Resources dialog showed when it opened.
struct ShownResources
{
    QString html;
    int entries = 0;
    int selected = 0;
    QString first;
    QString last;
};

ModalDialogWatcher WatchResources(std::vector<ShownResources>& shown)
{
    return ModalDialogWatcher([&shown](QDialog& dialog) {
        const auto form = ControlsOf<ResourcesDialogForm>(dialog);
        const QListWidget* list = form.resourceList;
        shown.push_back({ form.htmlEdit->toPlainText(), list->count(),
            int(list->selectedItems().size()), list->count() ? list->item(0)->text() : QString(),
            list->count() ? list->item(list->count() - 1)->text() : QString() });
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
    TestPrompts m_prompts;
    std::vector<ShownResources> m_shown;
    ModalDialogWatcher m_watcher = WatchResources(m_shown);
    QWidget m_owner;
    DocOutputs m_outputs { m_doc, m_project, &m_owner };
};

TEST_F(DocOutputsTest, SaveAsCancelledWritesNothingAndChosenFileShowsResources)
{
    m_doc.readLocksFromFile = 1;
    m_prompts.AnswerSaveAs(QString());
    m_prompts.AnswerSaveAs(Path("chosen.htm"));
    QByteArray path = Bytes("page.html");

    EXPECT_FALSE(m_outputs.CreateHtmlFile(path, true));
    EXPECT_EQ(path, Bytes("page.html"));
    EXPECT_FALSE(QFile::exists(Path("page.html")));
    EXPECT_TRUE(m_shown.empty());

    EXPECT_TRUE(m_outputs.CreateHtmlFile(path, true));
    EXPECT_EQ(path, Bytes("chosen.htm"));
    EXPECT_FALSE(m_doc.IsModified());
    const QByteArray page = BuildHtmlPage(m_doc, HtmlPageForm::File);
    EXPECT_EQ(ReadBytes(Path("chosen.htm")), page);
    ASSERT_EQ(m_shown.size(), 1u);
    EXPECT_EQ(m_shown[0].html, AsShown(page));
    EXPECT_EQ(m_shown[0].entries, 3);
    EXPECT_EQ(m_shown[0].selected, 3);

    const PromptRecord& asked = m_prompts.Asked()[0];
    EXPECT_EQ(asked.filter, "HTML Files (*.html, *.htm)|*.htm;*.html|All Files (*.*)|*.*||");
    EXPECT_EQ(asked.defaultExtension, "html");
    EXPECT_EQ(asked.initialPath, Path("page.html"));
}

TEST_F(DocOutputsTest, UnwritableTargetShowsTheFileErrorAndNoResources)
{
    ASSERT_TRUE(WriteBytes(Path("plain"), "a file, not a folder"));
    m_prompts.AnswerSaveAs(Path("plain/page.html"));
    m_prompts.AnswerMessage(PromptAnswer::Ok);
    QByteArray path = Bytes("page.html");

    EXPECT_FALSE(m_outputs.CreateHtmlFile(path, true));

    EXPECT_EQ(path, Bytes("plain/page.html"));
    EXPECT_EQ(m_prompts.MessageTexts(), QStringList { Message(IDS_BAD_PATH, path) });
    EXPECT_EQ(m_prompts.Asked().back().icon, PromptIcon::Warning);
    EXPECT_TRUE(m_shown.empty());
}

TEST_F(DocOutputsTest, AnUnreadableLockIsNamedAndNothingIsGenerated)
{
    m_doc.locks.push_back({ "ann", "", "a.html", "", {} });
    m_doc.locks.push_back({ "bob", "short|long", "b.html", "", {} });
    m_prompts.AnswerMessage(PromptAnswer::Ok);
    m_prompts.AnswerMessage(PromptAnswer::Ok);
    QByteArray page = Bytes("page.html");
    QByteArray lockFile = Bytes("lock.txt");

    EXPECT_FALSE(m_outputs.CreateHtmlFile(page, true));
    EXPECT_FALSE(m_outputs.SaveLockInputFile(lockFile, false));

    EXPECT_EQ(m_prompts.MessageTexts(),
        QStringList(2, Message(IDS_UNREADABLE_LOCK, "2 (\"bob\")", "password")));
    EXPECT_EQ(m_prompts.Asked().back().icon, PromptIcon::Warning);
    EXPECT_FALSE(QFile::exists(Path("page.html")));
    EXPECT_FALSE(QFile::exists(Path("lock.txt")));
    EXPECT_TRUE(m_shown.empty());

    // Changed locks are checked again: mended, the lock input file is written, while a lock URL
    // that the modern box would not follow stops the preview of both boxes.
    m_doc.locks[1].password = "long";
    m_doc.locks[0].url = "javascript:alert(1)";
    m_doc.LocksChanged();
    m_prompts.AnswerMessage(PromptAnswer::Ok);
    EXPECT_TRUE(m_outputs.SaveLockInputFile(lockFile, false));
    EXPECT_TRUE(QFile::exists(Path("lock.txt")));
    EXPECT_FALSE(m_outputs.WritePreviewPage(BoxKind::Both));
    EXPECT_EQ(m_prompts.MessageTexts().back(),
        Message(IDS_LOCK_NOT_WEB_ADDRESS, "1 (\"ann\")", "javascript:alert(1)"));
}

TEST_F(DocOutputsTest, ClipboardHoldsTheSegmentThenResourcesShowIt)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setText(QStringLiteral("probe"));
    if (clipboard->text() != QLatin1String("probe"))
        GTEST_SKIP() << "this platform offers the test no clipboard";
    m_doc.width = 250;
    // A label from a project made with a Windows code page.
    m_doc.userLabel = "Caf\xE9 \x93member\x94:";

    m_outputs.CopyHtmlToClipboard();

    const QByteArray segment = BuildHtmlPage(m_doc, HtmlPageForm::Segment);
    ASSERT_TRUE(segment.contains(m_doc.userLabel));
    EXPECT_EQ(clipboard->mimeData()->data(QStringLiteral("text/plain")), segment);
    EXPECT_TRUE(clipboard->text().endsWith(QLatin1String("</APPLET>\r\n")));
    ASSERT_EQ(m_shown.size(), 1u);
    EXPECT_EQ(m_shown[0].html, AsShown(segment));
}

TEST_F(DocOutputsTest, OutputsCarryTheChosenBoxAndTellOnceThatTheModernBoxSendsNoMail)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setText(QStringLiteral("probe"));
    if (clipboard->text() != QLatin1String("probe"))
        GTEST_SKIP() << "this platform offers the test no clipboard";
    m_doc.boxKind = BoxKind::Modern;
    m_doc.iterations = LockIterations::kPublishMinimum;
    m_doc.correctEmail = "webmaster@example.com";
    m_doc.correctAudio = MakeSunAudio(QStringLiteral("yes.au"));
    m_doc.locks.resize(1);
    m_doc.locks[0].userId = "ann";
    m_doc.locks[0].url = "members/ann.html";
    m_prompts.AnswerSaveAs(Path("page.html"));
    m_prompts.AnswerNotice(true);
    QByteArray path = Bytes("page.html");

    EXPECT_TRUE(m_outputs.CreateHtmlFile(path, true));
    const QByteArray page = ReadBytes(Path("page.html"));
    EXPECT_FALSE(page.contains("<APPLET"));
    EXPECT_TRUE(page.contains("\"iterations\":100000,"));
    EXPECT_FALSE(page.contains("members/ann.html"));
    // The page, and the sound as the wave file it becomes, named with the file the user chose.
    ASSERT_EQ(m_shown.size(), 1u);
    EXPECT_EQ(m_shown[0].entries, 2);
    EXPECT_EQ(m_shown[0].first, QStringLiteral("index.html  (the page)"));
    EXPECT_EQ(m_shown[0].last,
        QStringLiteral("yes.wav  (converted from %1)").arg(QFile::decodeName(m_doc.correctAudio)));

    // Ticked "do not show again": no more notices, also for later projects. The both kind's
    // page holds the applet's locks in plain text, which this project is told once.
    m_doc.boxKind = BoxKind::Both;
    m_project = ProjectState();
    m_prompts.AnswerNotice(true);
    m_outputs.CopyHtmlToClipboard();
    EXPECT_EQ(m_prompts.Asked().back().text, Message(IDS_APPLET_LOCKS_PLAIN));
    EXPECT_EQ(m_doc.readableLocksNotice, 0);
    EXPECT_TRUE(m_doc.IsModified());
    m_outputs.CopyHtmlToClipboard();
    ASSERT_EQ(m_shown.size(), 3u);
    EXPECT_TRUE(m_shown[1].html.contains(QLatin1String("<APPLET")));
    EXPECT_TRUE(m_shown[1].html.contains(QLatin1String("zarnith-box")));
    EXPECT_EQ(m_shown[1].entries, 4);
    EXPECT_EQ(ProgramSettings::Store().value(QStringLiteral("Options/ModernBoxMailNotice")), false);

    // Published pages refuse a low count: nothing is written.
    m_doc.iterations = LockIterations::kPublishMinimum - 1;
    m_prompts.AnswerSaveAs(Path("low.html"));
    m_prompts.AnswerMessage(PromptAnswer::Ok);
    path = Bytes("low.html");
    EXPECT_FALSE(m_outputs.CreateHtmlFile(path, true));
    EXPECT_FALSE(QFile::exists(Path("low.html")));
    EXPECT_EQ(m_prompts.MessageTexts(), QStringList { Message(IDS_BAD_ITERATIONS, "99999") });
    EXPECT_EQ(std::count_if(m_prompts.Asked().begin(), m_prompts.Asked().end(),
                  [](const PromptRecord& asked) { return asked.kind == PromptKind::Notice; }),
        2);
}

TEST_F(DocOutputsTest, CancelWhileTheLocksAreMadeWritesNothing)
{
    m_doc.boxKind = BoxKind::Modern;
    m_doc.iterations = LockIterations::kPublishMinimum;
    m_doc.locks.resize(120);
    for (int i = 0; i < 120; ++i) {
        m_doc.locks[std::size_t(i)].userId = "user" + QByteArray::number(i);
        m_doc.locks[std::size_t(i)].url = "page.html";
    }
    // Cancel as soon as the progress window shows.
    QTimer canceller;
    bool cancelled = false;
    QObject::connect(&canceller, &QTimer::timeout, [&] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            auto* progress = qobject_cast<QProgressDialog*>(window);
            if (progress && progress->isVisible() && !cancelled) {
                cancelled = true;
                progress->findChild<QPushButton*>()->click();
            }
        }
    });
    canceller.start(10);
    m_prompts.AnswerSaveAs(Path("page.html"));
    QByteArray path = Bytes("page.html");

    EXPECT_FALSE(m_outputs.CreateHtmlFile(path, true));
    EXPECT_TRUE(cancelled);
    EXPECT_FALSE(QFile::exists(Path("page.html")));
    EXPECT_TRUE(m_shown.empty());
}

TEST_F(DocOutputsTest, LockInputFileAsksOnlyWhenToldAndKeepsTheChosenName)
{
    m_doc.locks.resize(2);
    m_prompts.AnswerSaveAs(QString());
    m_prompts.AnswerSaveAs(Path("picked.dat"));
    m_prompts.AnswerNotice(false); // the file holds the applet's locks in plain text
    QByteArray path = Bytes("lock.txt");

    EXPECT_FALSE(m_outputs.SaveLockInputFile(path, true));
    EXPECT_FALSE(QFile::exists(Path("lock.txt")));
    EXPECT_TRUE(m_outputs.SaveLockInputFile(path, true));
    EXPECT_EQ(path, Bytes("picked.dat"));
    EXPECT_EQ(ReadBytes(Path("picked.dat")), BuildLockInputFile(m_doc));
    EXPECT_EQ(m_prompts.Asked()[0].filter,
        "Zarnith Input Files (*.txt, *.dat)|*.txt;*.dat|All Files (*.*)|*.*||");
    EXPECT_EQ(m_prompts.Asked()[0].defaultExtension, "txt");

    EXPECT_EQ(m_prompts.Asked()[2].kind, PromptKind::Notice);

    // Written for a preview, it asks nothing.
    path = Bytes("direct.txt");
    EXPECT_TRUE(m_outputs.SaveLockInputFile(path, false));
    EXPECT_EQ(ReadBytes(Path("direct.txt")), BuildLockInputFile(m_doc));
    EXPECT_EQ(m_prompts.Asked().size(), 3u);
    EXPECT_TRUE(m_shown.empty());
}

} // namespace
