#include "EndToEndTest.h"
#include "framework/ColourButton.h"
#include "framework/ColourPopup.h"
#include "framework/DialogBase.h"

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

constexpr int kOk = DialogBase::kIdOk;

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
            Type(dialog, 2832, lock.userId);
            Type(dialog, 2833, lock.password);
            Type(dialog, 2816, lock.url);
            Type(dialog, 2817, lock.target);
            Click(dialog, kOk);
        });
        Click(locks, 1608);
    }

    // Opens the colour button's pop-up with a click, as the user does.
    static ColourPopup* OpenColourPopup(FormView& page, int id)
    {
        auto* button = page.Control<ColourButton>(id);
        EXPECT_NE(button, nullptr) << id;
        if (!button)
            return nullptr;
        QTest::mouseClick(button, Qt::LeftButton);
        return qobject_cast<ColourPopup*>(QApplication::activePopupWidget());
    }

    static void ClickWell(FormView& page, int id, const QString& name)
    {
        ColourPopup* popup = OpenColourPopup(page, id);
        ASSERT_NE(popup, nullptr);
        const std::vector<QToolButton*>& wells = popup->wellButtons();
        const auto well = std::find_if(wells.begin(), wells.end(),
            [&](const QToolButton* button) { return button->toolTip() == name; });
        ASSERT_NE(well, wells.end()) << qPrintable(name);
        QTest::mouseClick(*well, Qt::LeftButton);
        EXPECT_FALSE(popup->isVisible());
    }

    void ClickMoreColours(FormView& page, int id, std::uint32_t answer)
    {
        ColourPopup* popup = OpenColourPopup(page, id);
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
    SetChecked(locks, 2834, false); // ignore case
    SetChecked(locks, 2835, true); // encrypt

    FormView& general = Page(FrameMain::kGeneral);
    Type(general, 1901, "321");
    Type(general, 1902, "187");
    Type(general, 2836, "Member:");
    Type(general, 2837, "Passphrase:");
    Type(general, 2838, "Enter");
    Type(general, 2840, "Members only.\nPlease log in.");
    Type(general, 1920, "7");

    FormView& responses = Page(FrameMain::kResponses);
    Type(responses, 2842, correctAudio);
    Type(responses, 2846, incorrectAudio);
    Type(responses, 2843, "Wrong user ID\nor password.");
    Type(responses, 2844, "Too many tries.\nGoodbye.");
    Type(responses, 2848, "http://example.com/denied.html");
    OnNextDialog([](QDialog& dialog) {
        Type(dialog, 2851, "smtp.example.com");
        Type(dialog, 2841, "welcome@example.com");
        Type(dialog, 2845, "intruder@example.com");
        Click(dialog, kOk);
    });
    Click(responses, 2850);

    FormView& appearance = Page(FrameMain::kAppearance);
    ClickWell(appearance, 1002, QStringLiteral("Sea Green"));
    // The border colour can only be chosen once the style has a border.
    auto* style = appearance.Control<QComboBox>(1006);
    ASSERT_NE(style, nullptr);
    const int bump = style->findText(QStringLiteral("Bump"));
    ASSERT_EQ(bump, 3);
    style->setCurrentIndex(bump);
    emit style->activated(bump);
    ClickMoreColours(appearance, 1003, chosenBorder);
    Type(appearance, 1008, "7");
    Type(appearance, 1012, "9");
    Type(appearance, 1005, "3");
    OnNextDialog([](QDialog& dialog) {
        Type(dialog, 2801, "Courier");
        Type(dialog, 2802, "14");
        FindControl<QCheckBox>(&dialog, 2803)->setChecked(false);
        FindControl<QCheckBox>(&dialog, 2804)->setChecked(true);
        Click(dialog, kOk);
    });
    Click(appearance, 2823);

    FormView& generate = Page(FrameMain::kGenerate);
    SetChecked(generate, 1920, true);
    OnNextDialog([&](QDialog& dialog) {
        Type(dialog, 1302, lockFile);
        Type(dialog, 1303, "Loading the members...");
        Type(dialog, 1304, "120");
        Click(dialog, kOk);
    });
    Click(generate, 1921);

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
        // No page edits the page's path; a new project has none.
        { "htmlFilePath", "" },
    };
    for (auto field = expected.begin(); field != expected.end(); ++field)
        EXPECT_EQ(actual.value(field.key()), QJsonValue(field.value())) << qPrintable(field.key());
    for (const QString& key : actual.keys())
        EXPECT_TRUE(expected.contains(key)) << "field not checked: " << qPrintable(key);
}

} // namespace
