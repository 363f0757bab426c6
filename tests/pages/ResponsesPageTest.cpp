#include "pages/AudioPlayer.h"
#include "pages/ViewResponses.h"
#include "support/PageTestSupport.h"
#include "util/Paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QImage>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtEndian>

#include <memory>

namespace {

// What the fake sound output was asked to do, readable after the page has taken the device.
struct DeviceLog
{
    QStringList calls;
    QString openedPath;
    QByteArray openedBytes;
    bool canOpen = true;
    std::function<void()> finished;

    // The sound comes to its end.
    void Finish()
    {
        if (auto callback = std::exchange(finished, nullptr))
            callback();
    }
};

class FakeDevice : public AudioDevice
{
public:
    explicit FakeDevice(std::shared_ptr<DeviceLog> log)
        : m_log(std::move(log))
    {
    }

    bool Open(const QString& wavePath) override
    {
        m_log->calls << QStringLiteral("open");
        m_log->openedPath = wavePath;
        QFile file(wavePath);
        m_log->openedBytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        return m_log->canOpen;
    }
    void Play(std::function<void()> finished) override
    {
        m_log->calls << QStringLiteral("play");
        m_log->finished = std::move(finished);
    }
    // Like the real device, a stop also reports the end of the sound.
    void Stop() override
    {
        m_log->calls << QStringLiteral("stop");
        m_log->Finish();
    }
    void Close() override { m_log->calls << QStringLiteral("close"); }

private:
    std::shared_ptr<DeviceLog> m_log;
};

// Makes every device the program asks for while it lives, all writing to one log.
class FakeDeviceFactory : public AudioDeviceFactory
{
public:
    explicit FakeDeviceFactory(std::shared_ptr<DeviceLog> log)
        : m_log(std::move(log))
        , m_previous(SetAudioDeviceFactory(this))
    {
    }
    ~FakeDeviceFactory() override { SetAudioDeviceFactory(m_previous); }

    std::unique_ptr<AudioDevice> CreateDevice() override
    {
        return std::make_unique<FakeDevice>(m_log);
    }

private:
    std::shared_ptr<DeviceLog> m_log;
    AudioDeviceFactory* m_previous;
};

QByteArray BigEndian(quint32 value)
{
    QByteArray bytes(4, '\0');
    qToBigEndian(value, bytes.data());
    return bytes;
}

QByteArray SunAudio(quint32 rate, quint32 channels, const QByteArray& samples)
{
    return ".snd" + BigEndian(24) + BigEndian(0xFFFFFFFF) + BigEndian(1) + BigEndian(rate)
        + BigEndian(channels) + samples;
}

bool ShowsIcon(const QAbstractButton* button, int iconId)
{
    const QImage expected
        = QIcon(QStringLiteral(":/images/icon%1.png").arg(iconId)).pixmap(16).toImage();
    return button->icon().pixmap(16).toImage() == expected;
}

class AudioTest : public PageTest
{
protected:
    QString WriteFile(const QString& name, const QByteArray& bytes)
    {
        const QString path = folder.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }

    std::unique_ptr<AudioDevice> Device() { return devices.CreateDevice(); }

    QTemporaryDir folder;
    std::shared_ptr<DeviceLog> log = std::make_shared<DeviceLog>();
    FakeDeviceFactory devices { log };
};

class ResponsesPageTest : public AudioTest
{
protected:
    void Open()
    {
        page = std::make_unique<ViewResponses>(doc, histories.UrlHistory);
        ui = ControlsOf<ResponsesPageForm>(*page);
        page->OnInitialUpdate();
    }

    std::unique_ptr<ViewResponses> page;
    ResponsesPageForm ui;
};

TEST_F(AudioTest, PlayerConvertsIntoItsOwnTemporaryWaveAndRemovesIt)
{
    const QString sound = WriteFile("ok.au", SunAudio(8000, 1, QByteArray(1000, '\xFF')));
    auto player = std::make_unique<AudioPlayer>(Device());
    QSignalSpy finished(player.get(), &AudioPlayer::finished);

    player->Play(sound);
    const QString first = player->TemporaryFilePath();
    const QFileInfo info(first);
    EXPECT_EQ(info.absolutePath(), QFileInfo(QDir::tempPath()).absoluteFilePath());
    EXPECT_TRUE(info.fileName().startsWith("Vel"));
    EXPECT_TRUE(info.fileName().endsWith(".wav"));
    EXPECT_EQ(log->calls, QStringList({ "open", "play" }));
    EXPECT_EQ(log->openedPath, first);
    ASSERT_EQ(log->openedBytes.size(), 1044);
    EXPECT_TRUE(log->openedBytes.startsWith("RIFF"));
    EXPECT_EQ(log->openedBytes.at(44), '\x80');

    // The end arrives as a notice of its own, after the device's call has returned.
    log->Finish();
    EXPECT_EQ(finished.count(), 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(finished.count(), 1);

    player->Stop();
    player->Play(sound);
    EXPECT_EQ(log->calls, QStringList({ "open", "play", "stop", "close", "open", "play" }));
    EXPECT_FALSE(QFile::exists(first));
    const QString second = player->TemporaryFilePath();
    EXPECT_TRUE(QFile::exists(second));
    player.reset();
    EXPECT_FALSE(QFile::exists(second));
    EXPECT_EQ(log->calls.mid(6), QStringList({ "stop", "close" }));
}

TEST_F(ResponsesPageTest, OnePressStartsASoundTheNextStopsIt)
{
    const QByteArray correct = WriteFile("correct.au", SunAudio(8000, 1, "a")).toLocal8Bit();
    const QByteArray incorrect = WriteFile("incorrect.au", SunAudio(8000, 1, "bb")).toLocal8Bit();
    Open();
    Type(ui.correctAudioEdit, QString::fromLocal8Bit(correct));
    Type(ui.incorrectAudioEdit, QString::fromLocal8Bit(incorrect));

    Click(ui.playCorrectButton);
    EXPECT_TRUE(page->IsPlaying());
    EXPECT_TRUE(ShowsIcon(ui.playCorrectButton, 302));
    EXPECT_TRUE(ShowsIcon(ui.playIncorrectButton, 301));

    // The other sound's button only stops the one that plays.
    Click(ui.playIncorrectButton);
    EXPECT_FALSE(page->IsPlaying());
    EXPECT_EQ(log->calls, QStringList({ "open", "play", "stop", "close" }));
    QCoreApplication::processEvents();
    EXPECT_TRUE(ShowsIcon(ui.playCorrectButton, 301));
    EXPECT_TRUE(ShowsIcon(ui.playIncorrectButton, 301));

    Click(ui.playIncorrectButton);
    EXPECT_TRUE(page->IsPlaying());
    EXPECT_TRUE(ShowsIcon(ui.playIncorrectButton, 302));
    EXPECT_EQ(log->openedBytes.size(), 44 + 2) << "the incorrect-login sound plays";

    log->Finish();
    QCoreApplication::processEvents();
    EXPECT_FALSE(page->IsPlaying());
    EXPECT_TRUE(ShowsIcon(ui.playIncorrectButton, 301));
}

TEST_F(ResponsesPageTest, AnEmptyPathStopsWhateverPlaysAndStartsNothing)
{
    const QByteArray correct = WriteFile("correct.au", SunAudio(8000, 1, "a")).toLocal8Bit();
    doc.correctAudio = correct;
    Open();
    Click(ui.playCorrectButton);
    ASSERT_TRUE(page->IsPlaying());
    log->finished = nullptr;
    Click(ui.playIncorrectButton);
    Click(ui.playIncorrectButton);
    EXPECT_FALSE(page->IsPlaying());
    EXPECT_EQ(log->calls, QStringList({ "open", "play", "stop", "close" }));
}

TEST_F(ResponsesPageTest, ABadFileIsNamedAsTypedAndPlaysNothing)
{
    Open();
    Type(ui.correctAudioEdit, "sounds/missing.au");
    prompts.AnswerMessage(PromptAnswer::Ok);
    Click(ui.playCorrectButton);
    EXPECT_EQ(prompts.MessageTexts(),
        QStringList({ QString::fromUtf8("The audio file 'sounds/missing.au' is not in the correct "
                                        "format.  It should be Sun '.au' format, 8000 Hz, mono, "
                                        "µ-law.") }));
    EXPECT_EQ(prompts.Asked().front().icon, PromptIcon::Warning);
    EXPECT_FALSE(page->IsPlaying());
    EXPECT_TRUE(log->calls.isEmpty());

    Type(ui.correctAudioEdit, WriteFile("stereo.au", SunAudio(8000, 2, "a")));
    prompts.AnswerMessage(PromptAnswer::Ok);
    Click(ui.playCorrectButton);
    EXPECT_EQ(prompts.MessageTexts().size(), 2);
    EXPECT_TRUE(ShowsIcon(ui.playCorrectButton, 301));
}

TEST_F(ResponsesPageTest, ADeviceThatCannotOpenPlaysNothingUntilPressedAgain)
{
    log->canOpen = false;
    doc.correctAudio = WriteFile("correct.au", SunAudio(8000, 1, "a")).toLocal8Bit();
    Open();
    Click(ui.playCorrectButton);
    EXPECT_EQ(log->calls, QStringList({ "open" }));
    QCoreApplication::processEvents();
    EXPECT_TRUE(ShowsIcon(ui.playCorrectButton, 302));
    Click(ui.playCorrectButton);
    EXPECT_FALSE(page->IsPlaying());
    EXPECT_TRUE(ShowsIcon(ui.playCorrectButton, 301));
}

TEST_F(ResponsesPageTest, BrowseOffersAuFilesAndShowsTheChosenPath)
{
    Open();
    Type(ui.correctAudioEdit, "sounds/ok.au");
    prompts.AnswerOpen("/data/chosen.au");
    Click(ui.browseCorrectButton);
    ASSERT_EQ(prompts.Asked().size(), 1u);
    const PromptRecord& asked = prompts.Asked().front();
    EXPECT_EQ(asked.kind, PromptKind::Open);
    EXPECT_EQ(asked.filter, "Audio Files (*.au)|*.au|All Files (*.*)|*.*||");
    EXPECT_EQ(asked.defaultExtension, "au");
    EXPECT_EQ(asked.initialPath, QString::fromLocal8Bit(ProgramDirectory()) + "sounds/ok.au");
    EXPECT_EQ(TextOf(ui.correctAudioEdit), "/data/chosen.au");

    prompts.AnswerOpen(QString());
    Click(ui.browseCorrectButton);
    EXPECT_EQ(TextOf(ui.correctAudioEdit), "/data/chosen.au");
    EXPECT_TRUE(page->Commit());
    EXPECT_EQ(doc.correctAudio, "/data/chosen.au");
}

TEST_F(ResponsesPageTest, EveryCommitPutsTheFailUrlInFrontOfTheHistory)
{
    histories.UrlHistory = History { "http://b/", "", "http://a/" };
    doc.failUrl = "http://a";
    Open();
    EXPECT_EQ(TextOf(ui.incorrectMessageEdit), "The user ID or password\nentered is incorrect.");
    auto* combo = ui.failUrlCombo;
    EXPECT_EQ(combo->count(), 2);
    EXPECT_EQ(combo->itemText(0), "http://a/");
    EXPECT_EQ(combo->currentText(), "http://a");

    EXPECT_TRUE(page->Commit());
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(histories.UrlHistory.Entries().front(), "http://a");
    EXPECT_TRUE(page->Commit());
    EXPECT_EQ(histories.UrlHistory.Entries().size(), 4u);

    Type(ui.failUrlCombo, "");
    Type(ui.failMessageEdit, "Go\naway");
    EXPECT_TRUE(page->Commit());
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(histories.UrlHistory.Entries().front(), "");
    EXPECT_EQ(doc.failMessage, "Go\\naway");

    // With the modern box, a fail URL that is no web address and a sound that is no plain file
    // name are refused, and the document keeps its values.
    doc.boxKind = BoxKind::Modern;
    Type(ui.failUrlCombo, "javascript:alert(1)");
    prompts.AnswerMessage(PromptAnswer::Ok);
    EXPECT_FALSE(page->Commit());
    EXPECT_EQ(doc.failUrl, "");
    Type(ui.failUrlCombo, "https://example.com/bye.html");
    Type(ui.correctAudioEdit, "/sounds/http:evil:80?x.au");
    prompts.AnswerMessage(PromptAnswer::Ok);
    EXPECT_FALSE(page->Commit());
    EXPECT_EQ(doc.correctAudio, "");
    EXPECT_EQ(prompts.MessageTexts().size(), 2);
    EXPECT_TRUE(prompts.MessageTexts().back().contains("\"http:evil:80?x.au\" cannot be used"));
    Type(ui.correctAudioEdit, "/sounds/ok.au");
    EXPECT_TRUE(page->Commit());
    EXPECT_EQ(doc.failUrl, "https://example.com/bye.html");
}

TEST_F(ResponsesPageTest, TheLoggingDialogEditsThePageCopiesOnly)
{
    doc.correctEmail = "ok@example.com";
    Open();
    OnNextDialog([](QDialog& dialog) {
        const auto form = ControlsOf<LoggingDialogForm>(dialog);
        EXPECT_EQ(TextOf(form.mailHostEdit), "");
        EXPECT_EQ(TextOf(form.correctEmailEdit), "ok@example.com");
        Type(form.mailHostEdit, "smtp.example.com");
        Type(form.failEmailEdit, "fail@example.com");
        Click(form.okButton);
    });
    Click(ui.loggingButton);
    EXPECT_FALSE(doc.IsModified());

    OnNextDialog([](QDialog& dialog) {
        const auto form = ControlsOf<LoggingDialogForm>(dialog);
        EXPECT_EQ(TextOf(form.mailHostEdit), "smtp.example.com");
        Type(form.mailHostEdit, "ignored");
        dialog.reject();
    });
    Click(ui.loggingButton);

    EXPECT_TRUE(page->Commit());
    EXPECT_EQ(doc.mailHost, "smtp.example.com");
    EXPECT_EQ(doc.failEmail, "fail@example.com");
    EXPECT_EQ(doc.correctEmail, "ok@example.com");
    // A new project does not inherit the host.
    doc.ResetProject();
    page->OnInitialUpdate();
    OnNextDialog([](QDialog& dialog) {
        EXPECT_EQ(TextOf(ControlsOf<LoggingDialogForm>(dialog).mailHostEdit), "");
    });
    Click(ui.loggingButton);
}

} // namespace
