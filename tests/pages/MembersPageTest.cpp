#include "forms/LockPropertiesDialogForm.h"
#include "forms/MemberAreaDialogForm.h"
#include "pages/DialogLockProperties.h"
#include "pages/ViewMembers.h"
#include "publish/ProjectState.h"
#include "support/PageTestSupport.h"

#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>

namespace {

MemberArea Area(const char* name, QByteArrayList patterns, const char* key = "")
{
    MemberArea area;
    area.name = name;
    area.patterns = std::move(patterns);
    area.key = key;
    area.memberTags = key;
    return area;
}

QStringList Lines(const QListWidget* list)
{
    QStringList lines;
    for (int row = 0; row < list->count(); ++row)
        lines << list->item(row)->text();
    return lines;
}

class MembersPageTest : public PageTest
{
protected:
    void Open()
    {
        page = std::make_unique<ViewMembers>(doc, project);
        ui = ControlsOf<MembersPageForm>(*page);
        page->OnInitialUpdate();
    }

    QStringList Rows() const
    {
        const QAbstractItemModel* model = ui.areaList->model();
        QStringList rows;
        for (int row = 0; row < model->rowCount(); ++row)
            rows << model->index(row, 0).data().toString() + " | "
                    + model->index(row, 1).data().toString();
        return rows;
    }

    void Select(int row) { ui.areaList->setCurrentIndex(ui.areaList->model()->index(row, 0)); }

    ProjectState project;
    std::unique_ptr<ViewMembers> page;
    MembersPageForm ui;
};

TEST_F(MembersPageTest, EachValueIsStoredOnlyWhenItDiffersAndTheDaysAreChecked)
{
    Open();
    EXPECT_EQ(TextOf(ui.rememberEdit), "0");
    EXPECT_EQ(TextOf(ui.rememberLabelEdit), "Remember me");
    EXPECT_EQ(TextOf(ui.logoutLabelEdit), "Log out");
    EXPECT_EQ(TextOf(ui.noAccessEdit), "Your account does not open this page.");
    EXPECT_FALSE(ui.newKeysButton->isEnabled());
    EXPECT_TRUE(page->Commit());
    EXPECT_FALSE(doc.IsModified());

    for (const char* refused : { "366", "-1", "many" }) {
        Type(ui.rememberEdit, refused);
        prompts.AnswerMessage(PromptAnswer::Ok);
        EXPECT_FALSE(page->Commit()) << refused;
    }
    EXPECT_EQ(prompts.MessageTexts(),
        (QStringList { "Please enter an integer between 0 and 365.",
            "Please enter an integer between 0 and 365.", "Please enter an integer." }));
    EXPECT_FALSE(doc.IsModified());
    Type(ui.rememberEdit, "30");
    Type(ui.logoutLabelEdit, "Sign out");
    Type(ui.insecureEdit, "Use https://\\nplease");
    EXPECT_TRUE(page->Commit());
    EXPECT_EQ(doc.rememberDays, 30);
    EXPECT_EQ(doc.logoutLabel, "Sign out");
    // Line breaks are typed as the project stores them.
    EXPECT_EQ(doc.insecureMessage, "Use https://\\nplease");
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(MembersPageTest, AreasAreAddedEditedAndRemovedWithTheFilesEachPatternHolds)
{
    QTemporaryDir site;
    ASSERT_TRUE(QDir(site.path()).mkpath(QStringLiteral("members/old")));
    for (const char* name : { "index.html", "members/a.html", "members/old/b.pdf" }) {
        QFile file(site.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    Open();
    prompts.AnswerFolder(site.path());
    Click(ui.browseButton);
    EXPECT_EQ(TextOf(ui.siteFolderEdit), site.path());

    prompts.AnswerMessage(PromptAnswer::Ok);
    prompts.AnswerMessage(PromptAnswer::Ok);
    OnNextDialog([](QDialog& dialog) {
        const auto form = ControlsOf<MemberAreaDialogForm>(dialog);
        Type(form.patternsEdit, "members/**\n\nmembers/*.pdf\n*.html\n../secret/*");
        const QStringList lines = Lines(form.matchList);
        ASSERT_EQ(lines.size(), 4);
        EXPECT_EQ(lines.mid(0, 3),
            (QStringList {
                "members/**: 2 files", "members/*.pdf: matches nothing", "*.html: 1 file" }));
        EXPECT_TRUE(lines[3].startsWith("../secret/*: refused, ")) << lines[3].toStdString();
        Click(form.okButton); // no name
        EXPECT_TRUE(dialog.isVisible());
        Type(form.nameEdit, "Members");
        Click(form.okButton); // the escaping pattern
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(dialog.focusWidget(), form.patternsEdit);
        Type(form.patternsEdit, "members/**\nmembers/*.pdf");
        Click(form.okButton);
        EXPECT_FALSE(dialog.isVisible());
    });
    Click(ui.addButton);
    ASSERT_EQ(prompts.MessageTexts().size(), 2);
    EXPECT_EQ(prompts.MessageTexts()[0], "You must enter a name for the area.");
    EXPECT_TRUE(prompts.MessageTexts()[1].startsWith("The pattern ../secret/* cannot be used: "));
    EXPECT_EQ(Rows(), QStringList { "Members | members/**, members/*.pdf" });

    // A second area may not take the first one's name; the first keeps its own when edited.
    prompts.AnswerMessage(PromptAnswer::Ok);
    OnNextDialog([](QDialog& dialog) {
        const auto form = ControlsOf<MemberAreaDialogForm>(dialog);
        Type(form.nameEdit, "Members");
        Click(form.okButton);
        EXPECT_TRUE(dialog.isVisible());
        Type(form.nameEdit, "Staff");
        Click(form.okButton);
    });
    Click(ui.addButton);
    EXPECT_EQ(prompts.MessageTexts().back(), "There is already an area named Members.");
    Select(0);
    OnNextDialog([](QDialog& dialog) {
        const auto form = ControlsOf<MemberAreaDialogForm>(dialog);
        EXPECT_EQ(TextOf(form.nameEdit), "Members");
        EXPECT_EQ(TextOf(form.patternsEdit), "members/**\nmembers/*.pdf");
        Type(form.patternsEdit, "members/*.html");
        Click(form.okButton);
    });
    Click(ui.editButton);
    Select(1);
    Click(ui.removeButton);
    EXPECT_EQ(Rows(), QStringList { "Members | members/*.html" });
    EXPECT_FALSE(ui.editButton->isEnabled());

    EXPECT_TRUE(page->Commit());
    ASSERT_EQ(doc.areas.size(), 1u);
    EXPECT_EQ(doc.areas[0].patterns, QByteArrayList { "members/*.html" });
    EXPECT_EQ(doc.siteFolder, QFile::encodeName(site.path()));
}

TEST_F(MembersPageTest, RenamedAndRemovedAreasFollowInTheLocksAndNewKeysForgetTheOldOnes)
{
    doc.areas = { Area("A", { "a/**" }, "key-a"), Area("B", { "b/**" }, "key-b") };
    doc.locks.resize(3);
    doc.locks[0].areas = QByteArrayList { "B", "A" };
    doc.locks[2].areas = QByteArrayList {};
    Open();
    const auto stamp = doc.LocksStamp();
    Select(0);
    OnNextDialog([](QDialog& dialog) {
        Type(ControlsOf<MemberAreaDialogForm>(dialog).nameEdit, "A2");
        dialog.accept();
    });
    Click(ui.editButton);
    Select(1);
    Click(ui.removeButton);
    prompts.AnswerMessage(PromptAnswer::No);
    Click(ui.newKeysButton);
    EXPECT_TRUE(page->Commit());

    // Whatever was made from the locks is made again.
    EXPECT_NE(doc.LocksStamp(), stamp);
    EXPECT_EQ(doc.locks[0].areas, QByteArrayList { "A2" });
    EXPECT_FALSE(doc.locks[1].areas.has_value());
    EXPECT_EQ(doc.locks[2].areas, QByteArrayList {});
    ASSERT_EQ(doc.areas.size(), 1u);
    EXPECT_EQ(doc.areas[0].key, "key-a");
    // A publish renews the document's keys while the page is up: its next commit keeps them.
    doc.areas[0].key = "renewed";
    EXPECT_TRUE(page->Commit());
    EXPECT_EQ(doc.areas[0].key, "renewed");

    doc.SetModified(false);
    prompts.AnswerMessage(PromptAnswer::Yes);
    Click(ui.newKeysButton);
    EXPECT_EQ(prompts.Asked().back().icon, PromptIcon::Question);
    EXPECT_TRUE(page->Commit());
    EXPECT_TRUE(doc.areas[0].key.isEmpty());
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(MembersPageTest, LockPropertiesTicksTheAreasALockOpens)
{
    const QByteArrayList names { "A", "B", "C" };
    const auto run = [&](std::optional<QByteArrayList> areas, QByteArrayList projectAreas,
                         const std::function<void(const LockPropertiesDialogForm&)>& edit) {
        LockEntry entry;
        entry.userId = "ann";
        entry.url = "a.html";
        entry.areas = std::move(areas);
        DialogLockProperties dialog(histories.UrlHistory);
        dialog.SetEntry(entry);
        dialog.SetAreaNames(projectAreas);
        OnNextDialog([&](QDialog&) {
            edit(ControlsOf<LockPropertiesDialogForm>(dialog));
            dialog.accept();
        });
        EXPECT_EQ(dialog.exec(), QDialog::Accepted);
        return dialog.Entry().areas;
    };
    const auto ticked = [](const LockPropertiesDialogForm& form) {
        QStringList lines;
        for (int row = 0; row < form.areaList->count(); ++row) {
            if (form.areaList->item(row)->checkState() == Qt::Checked)
                lines << form.areaList->item(row)->text();
        }
        return lines;
    };

    EXPECT_EQ(run(QByteArrayList { "C", "A" }, names,
                  [&](const LockPropertiesDialogForm& form) {
                      EXPECT_FALSE(form.everyAreaCheck->isChecked());
                      EXPECT_EQ(ticked(form), (QStringList { "A", "C" }));
                      form.areaList->item(1)->setCheckState(Qt::Checked);
                      form.areaList->item(2)->setCheckState(Qt::Unchecked);
                  }),
        (QByteArrayList { "A", "B" }));
    EXPECT_EQ(run(std::nullopt, names,
                  [&](const LockPropertiesDialogForm& form) {
                      EXPECT_TRUE(form.everyAreaCheck->isChecked());
                      EXPECT_FALSE(form.areaList->isEnabled());
                      EXPECT_EQ(ticked(form), (QStringList { "A", "B", "C" }));
                      Click(form.everyAreaCheck);
                      EXPECT_TRUE(form.areaList->isEnabled());
                      for (int row = 0; row < 3; ++row)
                          form.areaList->item(row)->setCheckState(Qt::Unchecked);
                  }),
        QByteArrayList {});
    EXPECT_EQ(run(QByteArrayList {}, names,
                  [](const LockPropertiesDialogForm& form) { Click(form.everyAreaCheck); }),
        std::nullopt);
    // A project without areas leaves the lock's list as it was.
    EXPECT_EQ(run(QByteArrayList { "Gone" }, {},
                  [](const LockPropertiesDialogForm& form) {
                      EXPECT_FALSE(form.everyAreaCheck->isEnabled());
                  }),
        QByteArrayList { "Gone" });
}

} // namespace
