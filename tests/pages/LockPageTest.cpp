#include "pages/ListRowDrag.h"
#include "pages/ViewLock.h"
#include "support/PageTestSupport.h"
#include "util/ResourceText.h"
#include "util/StringIds.h"

#include <QAbstractItemModelTester>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

namespace {

LockEntry Lock(const char* userId, const char* url = "http://x/", const char* target = "")
{
    LockEntry entry;
    entry.userId = userId;
    entry.password = QByteArray(userId) + "pw";
    entry.url = url;
    entry.target = target;
    return entry;
}

QStringList UserIds(const std::vector<LockEntry>& locks)
{
    QStringList ids;
    for (const LockEntry& lock : locks)
        ids << QString::fromLocal8Bit(lock.userId);
    return ids;
}

class LockPageTest : public PageTest
{
protected:
    void Open(std::vector<LockEntry> locks)
    {
        doc.locks = std::move(locks);
        page = std::make_unique<ViewLock>(doc, histories.UrlHistory);
        ui = ControlsOf<LocksPageForm>(*page);
        page->OnInitialUpdate();
        page->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(page.get()));
        list = ui.lockList;
    }

    QStringList Rows() const
    {
        QStringList ids;
        for (int row = 0; row < list->model()->rowCount(); ++row)
            ids << Cell(row, 0);
        return ids;
    }

    QModelIndex Index(int row, int column = 0) const { return list->model()->index(row, column); }

    QString Cell(int row, int column) const { return Index(row, column).data().toString(); }

    QBrush Background(int row) const { return Index(row).data(Qt::BackgroundRole).value<QBrush>(); }

    void Select(int row) const { list->setCurrentIndex(Index(row)); }

    int SelectedRow() const
    {
        const QModelIndexList selected = list->selectionModel()->selectedRows();
        return selected.isEmpty() ? -1 : selected.first().row();
    }

    QPoint RowPoint(int row) const { return list->visualRect(Index(row)).center(); }

    QPoint BelowLastRow() const
    {
        return { list->viewport()->width() / 2, list->viewport()->height() - 3 };
    }

    // Presses button on row source, moves to each point, and releases the left button at the last
    // one.
    void Drag(Qt::MouseButton button, int source, const std::vector<QPoint>& path)
    {
        QWidget* viewport = list->viewport();
        QTest::mousePress(viewport, button, {}, RowPoint(source));
        for (const QPoint& point : path)
            QTest::mouseMove(viewport, point);
        if (button != Qt::LeftButton) {
            QTest::mouseRelease(viewport, button, {}, path.back());
            QTest::mousePress(viewport, Qt::LeftButton, {}, path.back());
        }
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, path.back());
    }

    // Answers the Lock Properties dialog with the given fields.
    void AnswerLock(const QString& userId, const QString& url, const QString& target = {})
    {
        OnNextDialog([=](QDialog& dialog) {
            const auto form = ControlsOf<LockPropertiesDialogForm>(dialog);
            Type(form.userIdEdit, userId);
            Type(form.urlCombo, url);
            Type(form.targetCombo, target);
            Click(form.okButton);
        });
    }

    std::unique_ptr<ViewLock> page;
    LocksPageForm ui;
    QTableView* list = nullptr;
};

TEST(DroppedRowIndexTest, MovesTheRowBeforeTheTargetOrToTheEnd)
{
    // A, B, C with A dragged: onto C, below the last row, onto B, onto itself.
    EXPECT_EQ(DroppedRowIndex(0, 2, 3), 1);
    EXPECT_EQ(DroppedRowIndex(0, -1, 3), 2);
    EXPECT_EQ(DroppedRowIndex(0, 1, 3), 0);
    EXPECT_EQ(DroppedRowIndex(0, 0, 3), 0);
    // C dragged onto A, onto itself, below the last row.
    EXPECT_EQ(DroppedRowIndex(2, 0, 3), 0);
    EXPECT_EQ(DroppedRowIndex(2, 2, 3), 2);
    EXPECT_EQ(DroppedRowIndex(2, -1, 3), 2);
}

TEST_F(LockPageTest, LoadShowsEveryLockWithTheLastOneSelected)
{
    Open({ Lock("A"), Lock("B"), Lock("C") });
    EXPECT_EQ(Rows(), QStringList({ "A", "B", "C" }));
    EXPECT_EQ(Cell(1, 1), "Bpw");
    EXPECT_EQ(SelectedRow(), 2);
    EXPECT_FALSE(Index(0).data(Qt::DecorationRole).value<QIcon>().isNull());
    EXPECT_TRUE(ui.propertiesButton->isEnabled());

    // A new or opened project replaces the rows.
    doc.locks = { Lock("Z") };
    page->OnInitialUpdate();
    EXPECT_EQ(Rows(), QStringList({ "Z" }));
}

TEST_F(LockPageTest, DraggingWithTheLeftButtonPlacesTheRowBeforeTheDropTarget)
{
    Open({ Lock("A"), Lock("B"), Lock("C") });
    Drag(Qt::LeftButton, 0, { RowPoint(1), RowPoint(2) });
    EXPECT_EQ(Rows(), QStringList({ "B", "A", "C" }));
    EXPECT_EQ(SelectedRow(), 1);

    Open({ Lock("A"), Lock("B"), Lock("C") });
    Drag(Qt::LeftButton, 0, { RowPoint(2), BelowLastRow() });
    EXPECT_EQ(Rows(), QStringList({ "B", "C", "A" }));

    Open({ Lock("A"), Lock("B"), Lock("C") });
    Drag(Qt::LeftButton, 0, { RowPoint(1) });
    EXPECT_EQ(Rows(), QStringList({ "A", "B", "C" }));

    Open({ Lock("A"), Lock("B"), Lock("C") });
    Drag(Qt::LeftButton, 2, { RowPoint(1), RowPoint(0) });
    EXPECT_EQ(Rows(), QStringList({ "C", "A", "B" }));
}

TEST_F(LockPageTest, TheTargetIsTheLastRowHighlightedInsideTheList)
{
    Open({ Lock("A"), Lock("B"), Lock("C") });
    auto* drag = page->findChild<ListRowDrag*>();
    ASSERT_NE(drag, nullptr);
    QWidget* viewport = list->viewport();

    QTest::mousePress(viewport, Qt::LeftButton, {}, RowPoint(0));
    QTest::mouseMove(viewport, RowPoint(2));
    ASSERT_TRUE(drag->IsDragging());
    EXPECT_EQ(drag->TargetRow(), 2);
    EXPECT_EQ(Background(2), list->palette().brush(QPalette::Highlight));
    // Over the header, which is not the rows' area, the highlight stays where it was.
    const QPoint overHeader = viewport->mapFrom(list, QPoint(5, 2));
    QTest::mouseMove(viewport, overHeader);
    EXPECT_EQ(drag->TargetRow(), 2);
    QTest::mouseMove(viewport, RowPoint(1));
    EXPECT_EQ(drag->TargetRow(), 1);
    EXPECT_EQ(Background(2), QBrush());
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, RowPoint(1));
    EXPECT_FALSE(drag->IsDragging());
    EXPECT_EQ(Background(0), QBrush());
}

TEST_F(LockPageTest, ADropOutsideTheListCancelsTheDrag)
{
    Open({ Lock("A"), Lock("B"), Lock("C") });
    Drag(Qt::LeftButton, 0, { RowPoint(2), QPoint(-40, -40) });
    EXPECT_EQ(Rows(), QStringList({ "A", "B", "C" }));
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(Background(row), QBrush()) << row;
    EXPECT_TRUE(page->Commit());
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(LockPageTest, ARightButtonDragEndsAtTheNextLeftRelease)
{
    Open({ Lock("A"), Lock("B"), Lock("C") });
    auto* drag = page->findChild<ListRowDrag*>();
    QWidget* viewport = list->viewport();
    QTest::mousePress(viewport, Qt::RightButton, {}, RowPoint(0));
    QTest::mouseMove(viewport, RowPoint(2));
    QTest::mouseRelease(viewport, Qt::RightButton, {}, RowPoint(2));
    EXPECT_TRUE(drag->IsDragging());
    EXPECT_EQ(Rows(), QStringList({ "A", "B", "C" }));
    QTest::mousePress(viewport, Qt::LeftButton, {}, RowPoint(2));
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, RowPoint(2));
    EXPECT_FALSE(drag->IsDragging());
    EXPECT_EQ(Rows(), QStringList({ "B", "A", "C" }));
}

TEST_F(LockPageTest, CommitMarksTheDocumentOnlyWhenLocksOrOptionsDiffer)
{
    Open({ Lock("A"), Lock("B"), Lock("C") });
    EXPECT_TRUE(page->Commit());
    EXPECT_FALSE(doc.IsModified());

    Drag(Qt::LeftButton, 2, { RowPoint(0) });
    EXPECT_FALSE(doc.IsModified()) << "the document sees the order only at the commit";
    EXPECT_TRUE(page->Commit());
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(UserIds(doc.locks), QStringList({ "C", "A", "B" }));
    EXPECT_EQ(doc.locks[0].password, "Cpw");

    // A user ID that differs only in case is another lock.
    doc.SetModified(false);
    Select(1);
    OnNextDialog([](QDialog& dialog) {
        Type(ControlsOf<LockPropertiesDialogForm>(dialog).userIdEdit, "a");
        Click(ControlsOf<LockPropertiesDialogForm>(dialog).okButton);
    });
    Click(ui.propertiesButton);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_TRUE(page->Commit());
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.locks[1].userId, "a");

    doc.SetModified(false);
    ui.encryptCheck->setChecked(true);
    EXPECT_TRUE(page->Commit());
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.encrypt, 1);
    EXPECT_EQ(doc.ignoreCase, 1);
}

TEST_F(LockPageTest, AddPutsTheNewLockAfterTheSelectionOrAtTheEnd)
{
    Open({ Lock("A"), Lock("B"), Lock("C") });
    Select(1);
    AnswerLock("New", "http://new/");
    Click(ui.addButton);
    EXPECT_EQ(Rows(), QStringList({ "A", "B", "New", "C" }));
    EXPECT_EQ(SelectedRow(), 2);

    list->clearSelection();
    AnswerLock("Last", "http://last/");
    Click(ui.addButton);
    EXPECT_EQ(Rows(), QStringList({ "A", "B", "New", "C", "Last" }));
    EXPECT_EQ(SelectedRow(), 4);

    OnNextDialog([](QDialog& dialog) { dialog.reject(); });
    Click(ui.addButton);
    EXPECT_EQ(Rows().size(), 5);

    EXPECT_TRUE(page->Commit());
    EXPECT_EQ(doc.locks[2].url, "http://new/");
    EXPECT_EQ(
        histories.UrlHistory.Entries(), std::vector<QByteArray>({ "http://last/", "http://new/" }));
}

TEST_F(LockPageTest, DeleteAndPropertiesActOnTheSelectedRowOnly)
{
    Open({ Lock("A"), Lock("B"), Lock("C") });
    Select(0);
    Click(ui.deleteButton);
    EXPECT_EQ(Rows(), QStringList({ "B", "C" }));
    EXPECT_FALSE(ui.propertiesButton->isEnabled());
    // With nothing selected, neither asks anything nor changes anything.
    Click(ui.deleteButton);
    Click(ui.propertiesButton);
    EXPECT_EQ(Rows(), QStringList({ "B", "C" }));

    Select(1);
    EXPECT_TRUE(ui.propertiesButton->isEnabled());
    OnNextDialog([](QDialog& dialog) {
        const auto form = ControlsOf<LockPropertiesDialogForm>(dialog);
        EXPECT_EQ(TextOf(form.userIdEdit), "C");
        EXPECT_EQ(TextOf(form.passwordEdit), "Cpw");
        Type(form.userIdEdit, "C2");
        Type(form.passwordEdit, "secret");
        Click(form.okButton);
    });
    Click(ui.propertiesButton);
    EXPECT_EQ(Cell(1, 0), "C2");
    EXPECT_EQ(Cell(1, 1), "secret");

    // A double click opens the same dialog; Cancel keeps the lock.
    OnNextDialog([](QDialog& dialog) {
        const auto form = ControlsOf<LockPropertiesDialogForm>(dialog);
        Type(form.userIdEdit, "ignored");
        dialog.reject();
    });
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, RowPoint(1));
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, RowPoint(1));
    QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, RowPoint(1));
    EXPECT_EQ(Cell(1, 0), "C2");
}

TEST_F(LockPageTest, LockPropertiesRefusesEmptyOrUnreadableFieldsAndKeepsTheDialogOpen)
{
    doc.boxKind = BoxKind::Both; // the modern box also refuses addresses it would not follow
    Open({});
    for (int i = 0; i < 6; ++i)
        prompts.AnswerMessage(PromptAnswer::Ok);
    // A short password is taken only when the user keeps it.
    prompts.AnswerMessage(PromptAnswer::No);
    prompts.AnswerMessage(PromptAnswer::Yes);
    OnNextDialog([this](QDialog& dialog) {
        const auto form = ControlsOf<LockPropertiesDialogForm>(dialog);
        // Each refusal keeps the dialog up; an unreadable field also gets the focus.
        const auto refused = [&](QWidget* focused) {
            Click(form.okButton);
            EXPECT_TRUE(dialog.isVisible());
            if (focused) {
                EXPECT_EQ(dialog.focusWidget(), focused);
            }
        };
        Type(form.urlCombo, "http://a/");
        refused(nullptr);
        Type(form.userIdEdit, "User");
        Type(form.urlCombo, "");
        refused(nullptr);
        Type(form.userIdEdit, "short|long");
        Type(form.urlCombo, "http://a/?x|y");
        refused(form.userIdEdit);
        Type(form.userIdEdit, "User");
        Type(form.urlCombo, "http://a/\r\nUser2|pw|http://b/|");
        refused(form.urlCombo);
        Type(form.urlCombo, "http://a/?x|y");
        Type(form.targetCombo, "main\t");
        refused(form.targetCombo);
        Type(form.targetCombo, "main");
        Type(form.urlCombo, " JavaScript:alert(1)");
        refused(form.urlCombo);
        Type(form.urlCombo, "http://a/?x|y");
        Type(form.passwordEdit, "1234567");
        refused(form.passwordEdit);
        EXPECT_TRUE(histories.UrlHistory.IsEmpty());
        Type(form.targetCombo, "main");
        Click(form.okButton);
        EXPECT_FALSE(dialog.isVisible());
    });
    Click(ui.addButton);
    EXPECT_EQ(prompts.MessageTexts(),
        QStringList({ "You must enter a user.", "You must enter a URL.",
            "The user ID cannot contain \"|\" or a control character such as a tab or a line "
            "break.",
            "The URL cannot contain a control character such as a tab or a line break.",
            "The target cannot contain \"|\" or a control character such as a tab or a line "
            "break.",
            "The modern login box follows only addresses on this site (such as "
            "members/index.html) and addresses that start with http:// or https://. \" "
            "JavaScript:alert(1)\" is neither.",
            QString::fromLocal8Bit(LoadResourceText(IDS_SHORT_PASSWORD)),
            QString::fromLocal8Bit(LoadResourceText(IDS_SHORT_PASSWORD)) }));
    for (const PromptRecord& asked : prompts.Asked()) {
        const bool question = asked.buttons == PromptButtons::YesNo;
        EXPECT_EQ(asked.icon, question ? PromptIcon::Question : PromptIcon::Warning);
        EXPECT_EQ(question, asked.text.contains(QLatin1String("fewer than 8 characters")));
    }
    EXPECT_EQ(Rows(), QStringList({ "User" }));
}

TEST_F(LockPageTest, LockPropertiesShowsTargetsAsListedAndUrlsExactly)
{
    histories.UrlHistory = History { "http://example.com/long", "", "http://example.com/" };
    Open({ Lock("A", "http://example.com", "_TOP"), Lock("B", "http://b/", "frame1") });
    Select(0);
    OnNextDialog([](QDialog& dialog) {
        const auto form = ControlsOf<LockPropertiesDialogForm>(dialog);
        auto* target = form.targetCombo;
        QStringList targets;
        for (int i = 0; i < target->count(); ++i)
            targets << target->itemText(i);
        EXPECT_EQ(targets, QStringList({ "_blank", "_parent", "_self", "_top" }));
        EXPECT_EQ(target->currentText(), "_top");
        auto* url = form.urlCombo;
        EXPECT_EQ(url->count(), 2) << "empty history entries are left out";
        EXPECT_EQ(url->currentText(), "http://example.com");
        Click(form.okButton);
    });
    Click(ui.propertiesButton);

    Select(1);
    OnNextDialog([](QDialog& dialog) {
        const auto form = ControlsOf<LockPropertiesDialogForm>(dialog);
        EXPECT_EQ(TextOf(form.targetCombo), "frame1");
        Click(form.okButton);
    });
    Click(ui.propertiesButton);

    EXPECT_TRUE(page->Commit());
    EXPECT_EQ(doc.locks[0].target, "_top");
    EXPECT_EQ(doc.locks[1].target, "frame1");
    EXPECT_EQ(histories.UrlHistory.Entries().front(), "http://b/");
}

TEST_F(LockPageTest, ConfirmingTheSameUrlTwiceAddsItOnce)
{
    Open({ Lock("A", "X") });
    for (const char* url : { "X", "X", "Y", "X" }) {
        OnNextDialog([url](QDialog& dialog) {
            const auto form = ControlsOf<LockPropertiesDialogForm>(dialog);
            Type(form.urlCombo, QString::fromLatin1(url));
            Click(form.okButton);
        });
        Click(ui.propertiesButton);
    }
    EXPECT_EQ(histories.UrlHistory.Entries(), std::vector<QByteArray>({ "X", "Y", "X" }));
}

TEST_F(LockPageTest, ColumnsShowEveryFieldAndTheFindFieldNarrowsOnUserIdAndUrl)
{
    Open({ Lock("Anna", "http://site/members/"), Lock("bob", "http://other/", "_top"),
        Lock("J\xc3\xa9r\xc3\xb4me", "http://x/"), Lock("carl", "http://SITE/c") });
    QAbstractItemModelTester tester(
        list->model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    QStringList headers;
    for (int column = 0; column < list->model()->columnCount(); ++column)
        headers << list->model()->headerData(column, Qt::Horizontal).toString();
    EXPECT_EQ(headers, QStringList({ "User", "Password", "URL", "Target" }));
    EXPECT_EQ(Cell(1, 2), "http://other/");
    EXPECT_EQ(Cell(1, 3), "_top");

    struct FindCase
    {
        const char* text;
        QStringList rows;
    };
    const FindCase finds[] = {
        { "site", { "Anna", "carl" } }, // the URL, ignoring case
        { "sItE/m", { "Anna" } }, // typing on narrows what is shown
        { "BO", { "bob" } }, // the user ID
        { "J\xc3\x89R\xc3\x94", { "J\xc3\xa9r\xc3\xb4me" } }, // beyond ASCII too
        { "nobody", {} },
        { "", { "Anna", "bob", "J\xc3\xa9r\xc3\xb4me", "carl" } },
    };
    for (const FindCase& find : finds) {
        ui.findEdit->setText(QString::fromUtf8(find.text));
        EXPECT_EQ(Rows(), find.rows) << find.text;
    }

    // While narrowed, edits land on the locks shown and keep their rows in sight.
    ui.findEdit->setText(QStringLiteral("site"));
    Select(0);
    AnswerLock("dave", "http://elsewhere/");
    Click(ui.addButton);
    EXPECT_EQ(Rows(), QStringList({ "Anna", "dave", "carl" }));
    EXPECT_EQ(SelectedRow(), 1);
    Drag(Qt::LeftButton, 2, { RowPoint(0) });
    EXPECT_EQ(Rows(), QStringList({ "carl", "Anna", "dave" }));
    Select(2);
    Click(ui.deleteButton);
    EXPECT_EQ(Rows(), QStringList({ "carl", "Anna" }));
    EXPECT_EQ(UserIds(doc.locks), QStringList({ "carl", "Anna", "bob", "J\xc3\xa9r\xc3\xb4me" }));
    EXPECT_FALSE(doc.IsModified());
    EXPECT_TRUE(page->Commit());
    EXPECT_TRUE(doc.IsModified());

    // A new or opened project shows every lock again.
    page->OnInitialUpdate();
    EXPECT_TRUE(ui.findEdit->text().isEmpty());
    EXPECT_EQ(Rows().size(), 4);
}

TEST_F(LockPageTest, FindOverALongListShowsEveryMatchInOrder)
{
    // Long enough to be searched in several parts at once.
    std::vector<LockEntry> locks;
    QStringList matching;
    for (int i = 0; i < 300000; ++i) {
        const QByteArray id = "m" + QByteArray::number(i);
        locks.push_back(Lock(id.constData()));
        if (id.contains("977"))
            matching << QString::fromLatin1(id);
    }
    Open(std::move(locks));
    ui.findEdit->setText(QStringLiteral("977"));
    EXPECT_EQ(Rows(), matching);
}

TEST(History, AddFrontSkipsOnlyARepeatOfTheNewestEntry)
{
    History history;
    history.AddFront("http://x");
    history.AddFront("http://x");
    EXPECT_EQ(history.Entries(), std::vector<QByteArray>({ "http://x" }));
    history.AddFront("HTTP://x");
    history.AddFront("http://y");
    history.AddFront("http://x");
    EXPECT_EQ(history.Entries(),
        std::vector<QByteArray>({ "http://x", "http://y", "HTTP://x", "http://x" }));

    History fonts { "Arial", "TimesRoman", "Courier" };
    fonts.AddFront("Courier");
    EXPECT_EQ(fonts.Entries().front(), "Courier");
    EXPECT_EQ(fonts.Entries().size(), 4u);
}

} // namespace
