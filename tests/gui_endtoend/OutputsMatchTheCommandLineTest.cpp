#include "EndToEndTest.h"
#include "generate/ResourceList.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
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

QStringList FilesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files, QDir::Name);
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

TEST_F(OutputsMatchTheCommandLineTest, ThePageAndPublishedFilesEqualTheCommandLineOnes)
{
    ASSERT_TRUE(QDir().mkpath(Path("data")));
    ASSERT_TRUE(QDir().mkpath(Path("sounds")));
    ASSERT_TRUE(QDir().mkpath(Path("gui-publish")));
    const QString lockFile = Path("data/members.txt");
    const QString correctAudio = Path("sounds/welcome.au");
    const QString incorrectAudio = Path("sounds/denied.au");
    ASSERT_TRUE(WriteAll(correctAudio, SunAudio(QByteArray("\x10\x20\x30\x40\x50\x60\x70", 7))));
    ASSERT_TRUE(WriteAll(incorrectAudio, SunAudio(QByteArray("\xF0\xE0\xD0\xC0", 4))));

    QJsonArray locks;
    locks.append(QJsonObject { { "userId", "alice" }, { "password", "Open Sesame" },
        { "url", "http://example.com/members/alice.html" }, { "target", "_blank" } });
    locks.append(QJsonObject { { "userId", "Bob" }, { "password", "b0b-Pass" },
        { "url", "http://example.com/members/bob.html" }, { "target", "main" } });
    const QJsonObject fields { { "locks", locks }, { "encrypt", 1 }, { "ignoreCase", 0 },
        { "readLocksFromFile", 1 }, { "lockFile", lockFile }, { "correctAudio", correctAudio },
        { "incorrectAudio", incorrectAudio }, { "failUrl", "http://example.com/denied.html" } };
    const QString json = Path("fields.json");
    ASSERT_TRUE(WriteAll(json, QJsonDocument(fields).toJson()));
    const QString project = Path("site.loc");
    RunCli({ QStringLiteral("build"), json, project });

    StartShown({ project });
    const auto generate = ControlsOf<GeneratePageForm>(Page(FrameMain::kGenerate));

    // The lock input file is written from the Input Details dialog, to the project's own name.
    OnNextDialog([&](QDialog& dialog) {
        const auto form = ControlsOf<InputDetailsDialogForm>(dialog);
        EXPECT_EQ(TextOf(form.lockFileEdit), lockFile);
        Prompts().AnswerSaveAs(lockFile);
        Prompts().AnswerNotice(false); // the file holds the applet's locks, only scrambled
        Click(form.writeFileButton);
        Click(form.okButton);
    });
    Click(generate.detailsButton);
    ASSERT_TRUE(QFile::exists(lockFile));

    const QString page = Path("site/members.html");
    ASSERT_TRUE(QDir().mkpath(Path("site")));
    const QString guiPublish = Path("gui-publish");
    Prompts().AnswerSaveAs(page);
    bool resourcesShown = false;
    OnNextDialog([&](QDialog& dialog) {
        resourcesShown = true;
        Prompts().AnswerFolder(guiPublish);
        Prompts().AnswerMessage(PromptAnswer::Ok);
        const auto form = ControlsOf<ResourcesDialogForm>(dialog);
        Click(form.copyLocallyButton);
        EXPECT_EQ(Prompts().MessageTexts().value(0),
            QStringLiteral("The Publish operation was successful.  All files were copied."));
        Click(form.okButton);
    });
    Click(generate.fileButton);
    ASSERT_TRUE(resourcesShown);

    const QByteArray cliPage = RunCli(
        { QStringLiteral("html"), project, QStringLiteral("--form"), QStringLiteral("file") });
    const QString cliPublish = Path("cli-publish");
    RunCli({ QStringLiteral("publish"), project, cliPublish });

    EXPECT_FALSE(cliPage.isEmpty());
    EXPECT_EQ(ReadFile(page), cliPage);
    // The project names no page, so the command line publishes it as index.html.
    EXPECT_EQ(ReadFile(cliPublish + "/index.html"), cliPage);

    // The window copies the applet, the lock input file and both sounds.
    QStringList expected { QFileInfo(QFile::decodeName(AppletClassPath())).fileName(),
        QFileInfo(lockFile).fileName(), QFileInfo(correctAudio).fileName(),
        QFileInfo(incorrectAudio).fileName() };
    expected.sort();
    ASSERT_EQ(FilesIn(guiPublish), expected);
    QStringList expectedByCli = expected + QStringList { "index.html" };
    expectedByCli.sort();
    EXPECT_EQ(FilesIn(cliPublish), expectedByCli);
    for (const QString& name : expected) {
        const QByteArray published = ReadFile(guiPublish + '/' + name);
        EXPECT_FALSE(published.isEmpty()) << qPrintable(name);
        EXPECT_TRUE(published == ReadFile(cliPublish + '/' + name)) << qPrintable(name);
    }
    EXPECT_EQ(ReadFile(guiPublish + "/welcome.au"), ReadFile(correctAudio));
    EXPECT_EQ(ReadFile(guiPublish + "/members.txt"), ReadFile(lockFile));
}

} // namespace
