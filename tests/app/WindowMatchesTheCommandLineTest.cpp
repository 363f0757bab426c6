#include "EndToEndTest.h"
#include "framework/ColourPopup.h"
#include "generate/ProtectedFile.h"
#include "generate/ResourceList.h"
#include "model/DocFields.h"
#include "publish/DocOutputs.h"

#include <QComboBox>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPushButton>
#include <QRegularExpression>
#include <QtEndian>
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

// A small mono 8 kHz Sun audio file: the 24-byte header ".snd", data offset, data size,
// encoding 1 (8-bit mu-law), sample rate and channels, all big-endian, then the samples.
QByteArray SunAudio(const QByteArray& samples)
{
    QByteArray bytes(".snd");
    for (std::uint32_t field : { 24u, std::uint32_t(samples.size()), 1u, 8000u, 1u }) {
        const std::uint32_t big = qToBigEndian(field);
        bytes.append(reinterpret_cast<const char*>(&big), sizeof big);
    }
    return bytes + samples;
}

bool WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        && file.write(bytes) == bytes.size();
}

// The bytes with what differs on every run of the modern box's locks and of protected pages
// (salt, ids, ivs, wrapped keys and the encrypted data) blanked out.
QByteArray WithoutRandomLockData(QByteArray bytes)
{
    static const QRegularExpression random(
        QStringLiteral("\"(salt|id|area|iv|key|data)\":\"[^\"]*\""));
    return QString::fromLatin1(bytes).replace(random, QStringLiteral("\"\\1\":\"\"")).toLatin1();
}

// The area id a published protected page lists first.
QByteArray SealedForArea(const QByteArray& page)
{
    static const QRegularExpression area(QStringLiteral("\"area\":\"([^\"]*)\""));
    return QByteArray::fromBase64(area.match(QString::fromLatin1(page)).captured(1).toLatin1());
}

// Every file under folder, by its path inside it.
QStringList FilesUnder(const QString& folder)
{
    QStringList files;
    QDirIterator entries(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (entries.hasNext())
        files.append(QDir(folder).relativeFilePath(entries.next()));
    files.sort();
    return files;
}

// What the window saves and publishes, byte for byte against what the command line makes of the
// same project.
class WindowMatchesTheCommandLineTest : public EndToEndTest
{
protected:
    void SetUp() override
    {
        EndToEndTest::SetUp();
        // The window lists the applet class beside its own program, the command line beside
        // its own; both must be the class the build made.
        const QString built = QStringLiteral(ZARNITH_BUILD_DIR "/Zarnith.class");
        const QString besideUs = QFile::decodeName(AppletClassPath());
        ASSERT_TRUE(QFile::exists(built));
        if (!QFile::exists(besideUs) || ReadFile(besideUs) != ReadFile(built)) {
            QFile::remove(besideUs);
            ASSERT_TRUE(QFile::copy(built, besideUs));
        }
    }

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

TEST_F(WindowMatchesTheCommandLineTest, EveryValueTypedIntoThePagesIsSavedAsTheCommandLineBuildsIt)
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
        Type(form.correctEmailEdit, "welcome@example.com");
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

    // The command line builds the same values into the same bytes.
    const QString json = Path("typed.json");
    ASSERT_TRUE(WriteAll(json, QJsonDocument(expected).toJson()));
    const QString built = Path("built.loc");
    RunCli({ QStringLiteral("build"), json, built });
    EXPECT_EQ(ReadFile(built), ReadFile(saved));
}

TEST_F(WindowMatchesTheCommandLineTest, TextFromAWindowsCodePageSurvivesVisitsAndASave)
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
    made.locks.push_back({ "ann\xE9", "pw\x80", "http://x/\xE9", "fr\xE9", {} });
    made.locks.push_back({ "bob\x93", "\x94", "http://y/", "_self", {} });
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

TEST_F(WindowMatchesTheCommandLineTest, EveryWayOfPublishingWritesTheSameFilesInEachKind)
{
    ASSERT_TRUE(QDir().mkpath(Path("data")));
    ASSERT_TRUE(QDir().mkpath(Path("sounds")));
    ASSERT_TRUE(QDir().mkpath(Path("site/img")));
    ASSERT_TRUE(QDir().mkpath(Path("site/members")));
    const QString lockFile = Path("data/members.txt");
    const QString correctAudio = Path("sounds/welcome.au");
    const QString incorrectAudio = Path("sounds/denied.au");
    ASSERT_TRUE(WriteAll(correctAudio, SunAudio(QByteArray("\x10\x20\x30\x40\x50\x60\x70", 7))));
    ASSERT_TRUE(WriteAll(incorrectAudio, SunAudio(QByteArray("\xF0\xE0\xD0\xC0", 4))));
    ASSERT_TRUE(WriteAll(Path("site/about.html"), "<p>about</p>"));
    ASSERT_TRUE(WriteAll(Path("site/img/logo.png"), QByteArray("\x89PNG\r\n\x1a\n", 8)));
    const QByteArray secret = "<p>for members only</p>";
    ASSERT_TRUE(WriteAll(Path("site/members/secret.html"), secret));

    QJsonArray locks;
    locks.append(QJsonObject { { "userId", "alice" }, { "password", "Open Sesame" },
        { "url", "http://example.com/members/alice.html" }, { "target", "_blank" } });
    locks.append(QJsonObject { { "userId", "Bob" }, { "password", "b0b-Pass" },
        { "url", "http://example.com/members/bob.html" }, { "target", "main" } });
    for (const char* kind : { "classic", "modern", "both" }) {
        SCOPED_TRACE(kind);
        const QString name = QLatin1String(kind);
        // The applet cannot open protected pages: the classic kind publishes without areas.
        const bool withAreas = name != QLatin1String("classic");
        QJsonObject fields { { "locks", locks }, { "encrypt", 1 }, { "ignoreCase", 0 },
            { "readLocksFromFile", 1 }, { "lockFile", lockFile }, { "correctAudio", correctAudio },
            { "incorrectAudio", incorrectAudio }, { "failUrl", "http://example.com/denied.html" },
            // Relative: beside the project file, in the window as on the command line.
            { "boxKind", name }, { "iterations", 100000 }, { "siteFolder", "site" },
            // The warning that the applet's locks are readable was turned off for this project.
            { "readableLocksNotice", 0 } };
        if (withAreas)
            fields.insert("areas",
                QJsonArray { QJsonObject {
                    { "name", "Members" }, { "pages", QJsonArray { "members/**" } } } });
        const QString json = Path("fields.json");
        ASSERT_TRUE(WriteAll(json, QJsonDocument(fields).toJson()));
        const QString project = Path(name + ".loc");
        RunCli({ QStringLiteral("build"), json, project });
        const QString cli = Path("cli-" + name);
        RunCli({ QStringLiteral("publish"), project, cli });
        const QStringList published = FilesUnder(cli);
        EXPECT_TRUE(published.contains(QStringLiteral("index.html")));
        EXPECT_TRUE(published.contains(QStringLiteral("img/logo.png")));
        // The protected pages' shared script, once, where pages are protected.
        EXPECT_EQ(published.contains(QStringLiteral("zarnith-box.js")), withAreas);

        StartShown({ project });
        // New Keys leaves the areas without keys until the next publish gives them new ones.
        if (withAreas) {
            Prompts().AnswerMessage(PromptAnswer::Yes);
            Click(ControlsOf<MembersPageForm>(Page(FrameMain::kMembers)).newKeysButton);
        }
        const auto generate = ControlsOf<GeneratePageForm>(Page(FrameMain::kGenerate));
        EXPECT_EQ(generate.boxKindCombo->currentText().toLower().left(name.size()), name);

        // Publish to Folder, from the Generate page's button.
        const QString folder = Path("folder-" + name);
        Prompts().AnswerFolder(folder);
        bool confirmed = false;
        OnNextDialog([&](QDialog& dialog) {
            const auto form = ControlsOf<PublishDialogForm>(dialog);
            EXPECT_EQ(form.fileList->count(), published.size());
            EXPECT_TRUE(form.problemText->text().isEmpty());
            confirmed = true;
            Click(form.publishButton);
        });
        Prompts().AnswerMessage(PromptAnswer::Ok);
        Click(generate.publishButton);
        ASSERT_TRUE(confirmed);
        EXPECT_EQ(Prompts().MessageTexts().back(),
            QStringLiteral("%1 files written, 0 unchanged.").arg(published.size()));
        const QString protectedPage = QStringLiteral("/members/secret.html");
        if (withAreas) {
            // Sealed under the key the publish gave, which the project now holds to be saved.
            ASSERT_EQ(Document().areas.size(), 1u);
            EXPECT_EQ(
                SealedForArea(ReadFile(folder + protectedPage)), AreaId(Document().areas[0].key));
            EXPECT_TRUE(Document().IsModified());
        }

        // Create HTML File under the name the command line gives the page, then Copy Locally
        // into the same folder.
        const QString copied = Path("copy-" + name);
        ASSERT_TRUE(QDir().mkpath(copied));
        Prompts().AnswerSaveAs(copied + "/index.html");
        bool resourcesShown = false;
        OnNextDialog([&](QDialog& dialog) {
            resourcesShown = true;
            Prompts().AnswerFolder(copied);
            // Copy Locally asks about every file already there: the page just written.
            Prompts().AnswerMessage(PromptAnswer::Yes);
            Prompts().AnswerMessage(PromptAnswer::Ok);
            const auto form = ControlsOf<ResourcesDialogForm>(dialog);
            EXPECT_EQ(form.resourceList->count(), published.size());
            Click(form.copyLocallyButton);
            EXPECT_EQ(Prompts().MessageTexts().back(),
                QStringLiteral("The Publish operation was successful.  All files were copied."));
            Click(form.okButton);
        });
        Click(generate.fileButton);
        ASSERT_TRUE(resourcesShown);

        // The preview writes the same plan into its own folder, with the preview page.
        const std::optional<QByteArray> previewPage
            = DocOutputs(Document(), App().Project(), &Frame())
                  .WritePreviewPage(Document().boxKind);
        ASSERT_TRUE(previewPage.has_value());
        const QString preview = QFileInfo(QFile::decodeName(*previewPage)).absolutePath();

        for (const QString& other : { folder, copied })
            EXPECT_EQ(FilesUnder(other), published) << qPrintable(other);
        for (const QString& file : published) {
            const QByteArray expected = WithoutRandomLockData(ReadFile(cli + '/' + file));
            EXPECT_FALSE(expected.isEmpty()) << qPrintable(file);
            for (const QString& other : { folder, copied })
                EXPECT_TRUE(WithoutRandomLockData(ReadFile(other + '/' + file)) == expected)
                    << qPrintable(other + '/' + file);
            // The preview's page is the preview form, and its locks use the preview's count.
            if (file != QLatin1String("index.html") && !file.endsWith(QLatin1String(".json"))) {
                EXPECT_TRUE(WithoutRandomLockData(ReadFile(preview + '/' + file)) == expected)
                    << qPrintable(file);
            }
        }
        if (withAreas) {
            for (const QString& output : { cli, folder, copied, preview })
                EXPECT_FALSE(ReadFile(output + protectedPage).contains(secret))
                    << qPrintable(output);
            // Saved after New Keys, the project holds new keys, which the command line uses.
            const QByteArray publishedKey = Document().areas[0].key;
            Prompts().AnswerMessage(PromptAnswer::Yes);
            Click(ControlsOf<MembersPageForm>(Page(FrameMain::kMembers)).newKeysButton);
            ASSERT_TRUE(App().Documents().FileSave());
            EXPECT_NE(Document().areas[0].key, publishedKey);
            const QString again = Path("cli-saved-" + name);
            RunCli({ QStringLiteral("publish"), project, again });
            EXPECT_EQ(
                SealedForArea(ReadFile(again + protectedPage)), AreaId(Document().areas[0].key));
        }
        App().ExitInstance();
    }
}

} // namespace
