#include "EndToEndTest.h"
#include "generate/ProtectedFile.h"
#include "generate/ResourceList.h"
#include "publish/DocOutputs.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QtEndian>

#include <cstdint>

namespace {

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

class OutputsMatchTheCommandLineTest : public EndToEndTest
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
};

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

TEST_F(OutputsMatchTheCommandLineTest, EveryWayOfPublishingWritesTheSameFilesInEachKind)
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
