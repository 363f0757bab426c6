#include "EndToEndTest.h"
#include "framework/ColourPopup.h"
#include "model/DocFields.h"

#include <QComboBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPushButton>
#include <QToolButton>

#include <algorithm>
#include <cstdint>
#include <ostream>

// Values print as JSON when a check fails.
inline void PrintTo(const QJsonValue& value, std::ostream* out)
{
    *out << QJsonDocument(QJsonArray { value }).toJson(QJsonDocument::Compact).toStdString();
}

namespace {

// A colour as the project file keeps it, written out here rather than through the program.
std::uint32_t RedLowest(std::uint32_t red, std::uint32_t green, std::uint32_t blue)
{
    return red | green << 8 | blue << 16;
}

struct TypedLock
{
    QString userId, password, url, target;
};

class EditedThroughTheWindowTest : public EndToEndTest
{
protected:
    void AddLock(FormView& locks, const TypedLock& lock)
    {
        OnNextDialog([lock](QDialog& dialog) {
            const auto form = ControlsOf<LockPropertiesDialogForm>(dialog);
            Type(form.userIdEdit, lock.userId);
            Type(form.passwordEdit, lock.password);
            Type(form.urlCombo, lock.url);
            Type(form.targetCombo, lock.target);
            Click(form.okButton);
        });
        Click(ControlsOf<LocksPageForm>(locks).addButton);
    }

    // Opens the colour button's pop-up with a click, as the user does.
    static ColourPopup* OpenColourPopup(ColourButton* button)
    {
        QTest::mouseClick(button, Qt::LeftButton);
        return qobject_cast<ColourPopup*>(QApplication::activePopupWidget());
    }

    static void ClickWell(ColourButton* button, const QString& name)
    {
        ColourPopup* popup = OpenColourPopup(button);
        ASSERT_NE(popup, nullptr);
        const std::vector<QToolButton*>& wells = popup->wellButtons();
        const auto well = std::find_if(wells.begin(), wells.end(),
            [&](const QToolButton* button) { return button->toolTip() == name; });
        ASSERT_NE(well, wells.end()) << qPrintable(name);
        QTest::mouseClick(*well, Qt::LeftButton);
        EXPECT_FALSE(popup->isVisible());
    }

    void ClickMoreColours(ColourButton* button, std::uint32_t answer)
    {
        ColourPopup* popup = OpenColourPopup(button);
        ASSERT_NE(popup, nullptr);
        QPushButton* more = nullptr;
        for (QPushButton* button : popup->findChildren<QPushButton*>()) {
            if (button->text() == QStringLiteral("More Colors..."))
                more = button;
        }
        ASSERT_NE(more, nullptr);
        Prompts().AnswerColour(answer);
        QTest::mouseClick(more, Qt::LeftButton);
    }
};

TEST_F(EditedThroughTheWindowTest, EveryValueTypedIntoThePagesIsSavedExactlyAsEntered)
{
    const TypedLock first { "alice", "Open Sesame", "http://example.com/members/alice.html",
        "_blank" };
    const TypedLock second { "Bob", "b0b-Pass", "http://example.com/members/bob.html", "main" };
    const QString correctAudio = Path("sounds/welcome.au");
    const QString incorrectAudio = Path("sounds/denied.au");
    const QString lockFile = Path("locks/members.txt");
    const std::uint32_t chosenBorder = RedLowest(0x12, 0x34, 0x56);

    StartShown();

    FormView& locks = Page(FrameMain::kLocks);
    AddLock(locks, first);
    AddLock(locks, second);
    const auto locksForm = ControlsOf<LocksPageForm>(locks);
    SetChecked(locksForm.ignoreCaseCheck, false);
    SetChecked(locksForm.encryptCheck, true);

    const auto general = ControlsOf<GeneralPageForm>(Page(FrameMain::kGeneral));
    Type(general.widthEdit, "321");
    Type(general.heightEdit, "187");
    Type(general.userLabelEdit, "Member:");
    Type(general.passwordLabelEdit, "Passphrase:");
    Type(general.loginLabelEdit, "Enter");
    Type(general.initialMessageEdit, "Members only.\nPlease log in.");
    Type(general.triesEdit, "7");

    const auto responses = ControlsOf<ResponsesPageForm>(Page(FrameMain::kResponses));
    Type(responses.correctAudioEdit, correctAudio);
    Type(responses.incorrectAudioEdit, incorrectAudio);
    Type(responses.incorrectMessageEdit, "Wrong user ID\nor password.");
    Type(responses.failMessageEdit, "Too many tries.\nGoodbye.");
    Type(responses.failUrlCombo, "http://example.com/denied.html");
    OnNextDialog([](QDialog& dialog) {
        const auto form = ControlsOf<LoggingDialogForm>(dialog);
        Type(form.mailHostEdit, "smtp.example.com");
        Type(form.successEmailEdit, "welcome@example.com");
        Type(form.failEmailEdit, "intruder@example.com");
        Click(form.okButton);
    });
    Click(responses.loggingButton);

    const auto appearance = ControlsOf<AppearancePageForm>(Page(FrameMain::kAppearance));
    ClickWell(appearance.backgroundButton, QStringLiteral("Sea Green"));
    // The border colour can only be chosen once the style has a border.
    QComboBox* style = appearance.borderStyleList;
    const int bump = style->findText(QStringLiteral("Bump"));
    ASSERT_EQ(bump, 3);
    style->setCurrentIndex(bump);
    emit style->activated(bump);
    ClickMoreColours(appearance.borderColourButton, chosenBorder);
    Type(appearance.spacingEdit, "7");
    Type(appearance.marginEdit, "9");
    Type(appearance.thicknessEdit, "3");
    OnNextDialog([](QDialog& dialog) {
        const auto form = ControlsOf<FontDialogForm>(dialog);
        Type(form.familyCombo, "Courier");
        Type(form.sizeCombo, "14");
        form.boldCheck->setChecked(false);
        form.italicCheck->setChecked(true);
        Click(form.okButton);
    });
    Click(appearance.fontButton);

    const auto generate = ControlsOf<GeneratePageForm>(Page(FrameMain::kGenerate));
    SetChecked(generate.readFromFileCheck, true);
    Type(generate.iterationsEdit, "250000");
    generate.boxKindCombo->setCurrentIndex(2);
    OnNextDialog([&](QDialog& dialog) {
        const auto form = ControlsOf<InputDetailsDialogForm>(dialog);
        Type(form.lockFileEdit, lockFile);
        Type(form.loadingMessageEdit, "Loading the members...");
        Type(form.intervalEdit, "120");
        Click(form.okButton);
    });
    Click(generate.detailsButton);

    const QString saved = Path("edited.loc");
    Prompts().AnswerSaveAs(saved);
    Trigger(FrameMain::kFileSaveAs);
    EXPECT_FALSE(Document().IsModified());
    EXPECT_EQ(Frame().windowTitle(), QStringLiteral("edited.loc - Zarnith"));

    QJsonParseError error;
    const QJsonDocument dumped
        = QJsonDocument::fromJson(RunCli({ QStringLiteral("dump"), saved }), &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << qPrintable(error.errorString());
    const QJsonObject actual = dumped.object();

    QJsonArray expectedLocks;
    for (const TypedLock& lock : { first, second })
        expectedLocks.append(QJsonObject { { "userId", lock.userId }, { "password", lock.password },
            { "url", lock.url }, { "target", lock.target } });
    const QJsonObject expected {
        { "locks", expectedLocks },
        { "ignoreCase", 0 },
        { "encrypt", 1 },
        { "width", 321 },
        { "height", 187 },
        { "userLabel", "Member:" },
        { "passwordLabel", "Passphrase:" },
        { "loginLabel", "Enter" },
        { "initialMessage", "Members only.\\nPlease log in." },
        { "retries", 7 },
        { "correctAudio", correctAudio },
        { "incorrectAudio", incorrectAudio },
        { "incorrectMessage", "Wrong user ID\\nor password." },
        { "failMessage", "Too many tries.\\nGoodbye." },
        { "failUrl", "http://example.com/denied.html" },
        { "mailHost", "smtp.example.com" },
        { "correctEmail", "welcome@example.com" },
        { "failEmail", "intruder@example.com" },
        { "backgroundColor", qint64(RedLowest(0x33, 0x99, 0x66)) },
        { "borderColor", qint64(chosenBorder) },
        { "borderStyle", 3 },
        { "spacing", 7 },
        { "margin", 9 },
        { "borderThickness", 3 },
        { "fontFamily", "Courier" },
        { "fontSize", 14 },
        { "fontBold", 0 },
        { "fontItalic", 1 },
        { "readLocksFromFile", 1 },
        { "lockFile", lockFile },
        { "loadingMessage", "Loading the members..." },
        { "reloadInterval", 120 },
        { "boxKind", "both" },
        { "iterations", 250000 },
        // No page edits the page's path; a new project has none.
        { "htmlFilePath", "" },
    };
    for (auto field = expected.begin(); field != expected.end(); ++field)
        EXPECT_EQ(actual.value(field.key()), QJsonValue(field.value())) << qPrintable(field.key());
    for (const QString& key : actual.keys())
        EXPECT_TRUE(expected.contains(key)) << "field not checked: " << qPrintable(key);
}

TEST_F(EditedThroughTheWindowTest, TextFromAWindowsCodePageSurvivesVisitsAndASave)
{
    // Windows-1252 bytes (e acute, curly quotes, the euro sign) in every text of the project, a
    // second line in each message and a bare line feed in one.
    const QByteArray windowsText = "caf\xE9 \x93x\x94 \x80";
    Doc made;
    for (const DocField& field : DocFields) {
        if (const auto* text = std::get_if<QByteArray Doc::*>(&field.member))
            made.*(*text) = QByteArray(field.name) + ' ' + windowsText;
    }
    for (QByteArray* message : { &made.initialMessage, &made.incorrectMessage, &made.failMessage })
        *message += "\\n\xE9";
    made.failMessage += '\n';
    made.readLocksFromFile = 1;
    made.locks.push_back({ "ann\xE9", "pw\x80", "http://x/\xE9", "fr\xE9" });
    made.locks.push_back({ "bob\x93", "\x94", "http://y/", "_self" });
    const QString path = Path("windows.loc");
    ASSERT_TRUE(SaveProject(made, path).ok);
    const QByteArray original = ReadFile(path);

    StartShown({ path });
    // Each dialog is opened and confirmed without a change.
    const auto confirm = [this](QPushButton* opener) {
        OnNextDialog([](QDialog& dialog) { dialog.accept(); });
        Click(opener);
    };
    confirm(ControlsOf<LocksPageForm>(Page(FrameMain::kLocks)).propertiesButton);
    Page(FrameMain::kGeneral);
    confirm(ControlsOf<ResponsesPageForm>(Page(FrameMain::kResponses)).loggingButton);
    confirm(ControlsOf<AppearancePageForm>(Page(FrameMain::kAppearance)).fontButton);
    confirm(ControlsOf<GeneratePageForm>(Page(FrameMain::kGenerate)).detailsButton);
    Page(FrameMain::kLocks);

    EXPECT_FALSE(Document().IsModified());
    Trigger(FrameMain::kFileSave);
    EXPECT_EQ(ReadFile(path), original);
}

} // namespace
