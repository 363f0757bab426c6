#include "app/DialogNewOpenProject.h"
#include "support/ShellTest.h"
#include "support/TestForms.h"

#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace {

class NewOpenDialogTest : public ShellTest
{
protected:
    // Starts without a file, answering the New/Open Project dialog with choose.
    void StartAndChoose(std::function<void(DialogNewOpenProject&)> choose)
    {
        WhenModal<DialogNewOpenProject>(std::move(choose));
        ASSERT_TRUE(Start({}, true));
        ASSERT_EQ(ModalSeen(), true);
    }

    static QListWidget* List(DialogNewOpenProject& dialog)
    {
        return ControlsOf<NewOpenProjectDialogForm>(dialog).recentList;
    }

    static void ChooseExisting(DialogNewOpenProject& dialog)
    {
        QTest::mouseClick(
            ControlsOf<NewOpenProjectDialogForm>(dialog).existingRadio, Qt::LeftButton);
    }

    static void Ok(DialogNewOpenProject& dialog)
    {
        QTest::mouseClick(ControlsOf<NewOpenProjectDialogForm>(dialog).okButton, Qt::LeftButton);
    }
};

TEST_F(NewOpenDialogTest, ListsRecentSlotsAndIsUsableOnlyForAnExistingProject)
{
    const QString first = WriteProject(QStringLiteral("first.loc"), 401);
    const QString second = WriteProject(QStringLiteral("second.loc"), 402);
    SetRecentFiles({ first, second });
    QStringList lines;
    std::vector<bool> enabled;
    StartAndChoose([&](DialogNewOpenProject& dialog) {
        for (int row = 0; row < List(dialog)->count(); ++row)
            lines.append(List(dialog)->item(row)->text());
        enabled.push_back(List(dialog)->isEnabled());
        ChooseExisting(dialog);
        enabled.push_back(List(dialog)->isEnabled());
        QTest::mouseClick(ControlsOf<NewOpenProjectDialogForm>(dialog).blankRadio, Qt::LeftButton);
        enabled.push_back(List(dialog)->isEnabled());
        dialog.reject();
    });
    EXPECT_EQ(
        lines, (QStringList { QStringLiteral("More Files..."), first, second, {}, {}, {}, {} }));
    EXPECT_EQ(enabled, (std::vector<bool> { false, true, false }));
    EXPECT_EQ(Document().width, 400);
}

TEST_F(NewOpenDialogTest, BlankProjectStartsANewProjectWithoutAQuestion)
{
    StartAndChoose([](DialogNewOpenProject& dialog) { Ok(dialog); });
    EXPECT_TRUE(Prompts().Asked().empty());
    EXPECT_EQ(Frame().windowTitle(), QStringLiteral("Untitled - Zarnith"));
    EXPECT_FALSE(Document().IsModified());
}

TEST_F(NewOpenDialogTest, MoreFilesShowsTheOpenDialog)
{
    const QString path = WriteProject(QStringLiteral("chosen.loc"), 555);
    Prompts().AnswerOpen(path);
    StartAndChoose([](DialogNewOpenProject& dialog) {
        ChooseExisting(dialog);
        Ok(dialog);
    });
    ASSERT_EQ(Prompts().Asked().size(), 1u);
    EXPECT_EQ(Prompts().Asked().front().kind, PromptKind::Open);
    EXPECT_EQ(Document().width, 555);
    EXPECT_EQ(App().Documents().PathName(), path);
}

TEST_F(NewOpenDialogTest, DoubleClickingARecentProjectOpensItAtOnce)
{
    const QString path = WriteProject(QStringLiteral("recent.loc"), 606);
    SetRecentFiles({ path });
    StartAndChoose([](DialogNewOpenProject& dialog) {
        ChooseExisting(dialog);
        QListWidget* list = List(dialog);
        const QPoint line = list->visualItemRect(list->item(1)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, line);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, line);
    });
    EXPECT_TRUE(Prompts().Asked().empty());
    EXPECT_EQ(Document().width, 606);
    EXPECT_EQ(Frame().windowTitle(), QStringLiteral("recent.loc - Zarnith"));
}

TEST_F(NewOpenDialogTest, ARecentProjectThatIsGoneIsReportedAndLeavesTheList)
{
    const QString gone = Path("gone.loc");
    const QString kept = WriteProject(QStringLiteral("kept.loc"), 500);
    SetRecentFiles({ gone, kept });
    Prompts().AnswerMessage(PromptAnswer::Ok);
    StartAndChoose([](DialogNewOpenProject& dialog) {
        ChooseExisting(dialog);
        List(dialog)->setCurrentRow(1);
        Ok(dialog);
    });
    EXPECT_EQ(Prompts().MessageTexts(), QStringList { gone + QStringLiteral(" was not found.") });
    EXPECT_EQ(Document().width, 400);
    EXPECT_EQ(Frame().windowTitle(), QStringLiteral("Untitled - Zarnith"));
    EXPECT_EQ(App().Documents().RecentFiles(), QStringList { kept });
}

TEST_F(NewOpenDialogTest, AnEmptySlotLeavesTheBlankProject)
{
    StartAndChoose([](DialogNewOpenProject& dialog) {
        ChooseExisting(dialog);
        List(dialog)->setCurrentRow(3);
        Ok(dialog);
    });
    EXPECT_TRUE(Prompts().Asked().empty()) << "an empty line names no file to report";
    EXPECT_EQ(Frame().windowTitle(), QStringLiteral("Untitled - Zarnith"));
}

} // namespace
