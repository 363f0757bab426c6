#include "pages/ViewResponses.h"

#include "framework/AppState.h"
#include "framework/FieldCommit.h"
#include "framework/Prompts.h"
#include "framework/ResourceIcon.h"
#include "model/BoxReferences.h"
#include "pages/AudioPlayer.h"
#include "pages/PageControls.h"
#include "util/Paths.h"
#include "util/StringIds.h"
#include "util/TextUtil.h"

namespace {

constexpr int kFolderIcon = 206;
constexpr int kSpeakerIcon = 301;
constexpr int kSpeakerPlayingIcon = 302;

QString LocalPath(const QByteArray& path)
{
    return QString::fromLocal8Bit(ResolveProgramPath(path));
}

} // namespace

ViewResponses::ViewResponses(Doc& doc, QWidget* parent, std::unique_ptr<AudioDevice> audioDevice)
    : FormView(ResponsesPageForm::kTemplateId, doc, parent, ResponsesPageForm::Id::picturePanel)
    , m_ui(FormControls<ResponsesPageForm>(*this))
    , m_player(std::make_unique<AudioPlayer>(std::move(audioDevice)))
{
    const auto click = [this](QPushButton* button, auto handler) {
        connect(button, &QPushButton::clicked, this, handler);
    };
    click(m_ui.browseCorrectButton, [this] { Browse(m_correctAudio); });
    click(m_ui.browseIncorrectButton, [this] { Browse(m_incorrectAudio); });
    click(m_ui.playCorrectButton, [this] { Play(m_correctAudio, m_ui.playCorrectButton); });
    click(m_ui.playIncorrectButton, [this] { Play(m_incorrectAudio, m_ui.playIncorrectButton); });
    click(m_ui.loggingButton, [this] { OnLogging(); });
    connect(m_player.get(), &AudioPlayer::Finished, this, &ViewResponses::OnPlaybackFinished);
}

ViewResponses::~ViewResponses() = default;

void ViewResponses::Exchange(DataExchange& exchange)
{
    // The modern box fetches sounds by their plain file names and follows only web addresses.
    const bool modern = UsesModernBox(Document().boxKind);
    const DataExchange::TextCheck nameCheck = modern ? FileNameRefusal : DataExchange::TextCheck();
    exchange.Text(m_ui.correctAudioEdit, m_correctAudio, nameCheck);
    exchange.Text(m_ui.incorrectAudioEdit, m_incorrectAudio, nameCheck);
    exchange.Text(m_ui.incorrectMessageEdit, m_incorrectMessage);
    exchange.Text(m_ui.failMessageEdit, m_failMessage);
    exchange.Text(
        m_ui.failUrlCombo, m_failUrl, modern ? WebAddressRefusal : DataExchange::TextCheck());
}

void ViewResponses::OnInitialUpdate()
{
    Load();
    FormView::OnInitialUpdate();
    SetButtonIcon(m_ui.browseCorrectButton, kFolderIcon);
    SetButtonIcon(m_ui.browseIncorrectButton, kFolderIcon);
    SetButtonIcon(m_ui.playCorrectButton, kSpeakerIcon);
    SetButtonIcon(m_ui.playIncorrectButton, kSpeakerIcon);
    ShowHistoryInCombo(m_ui.failUrlCombo, CurrentAppState().UrlHistory, m_failUrl);
}

void ViewResponses::Load()
{
    const Doc& doc = Document();
    m_logging.mailHost = doc.mailHost;
    m_logging.successEmail = doc.correctEmail;
    m_correctAudio = doc.correctAudio;
    m_incorrectMessage = UnescapeLineBreaks(doc.incorrectMessage);
    m_incorrectAudio = doc.incorrectAudio;
    m_failMessage = UnescapeLineBreaks(doc.failMessage);
    m_logging.failEmail = doc.failEmail;
    m_failUrl = doc.failUrl;
}

bool ViewResponses::Commit()
{
    const bool ok = UpdateData(true);
    Doc& doc = Document();
    FieldCommit commit(doc);
    commit.Field(doc.mailHost, m_logging.mailHost);
    commit.Field(doc.correctEmail, m_logging.successEmail);
    commit.Field(doc.correctAudio, m_correctAudio);
    commit.MultiLineText(doc.incorrectMessage, m_incorrectMessage);
    commit.Field(doc.incorrectAudio, m_incorrectAudio);
    commit.MultiLineText(doc.failMessage, m_failMessage);
    commit.Field(doc.failEmail, m_logging.failEmail);
    commit.Field(doc.failUrl, m_failUrl);
    CurrentAppState().UrlHistory.AddFront(m_failUrl);
    return ok;
}

void ViewResponses::Browse(QByteArray& audioPath)
{
    UpdateData(true);
    FileDialogRequest request;
    request.filter = QStringLiteral("Audio Files (*.au)|*.au|All Files (*.*)|*.*||");
    request.defaultExtension = QStringLiteral("au");
    request.initialPath = LocalPath(audioPath);
    const std::optional<QString> chosen = CurrentPrompts().Open(this, request);
    if (!chosen)
        return;
    audioPath = chosen->toLocal8Bit();
    UpdateData(false);
}

void ViewResponses::Play(const QByteArray& audioPath, QPushButton* button)
{
    UpdateData(true);
    m_player->Stop();
    if (m_playing || audioPath.isEmpty()) {
        m_playing = false;
        SetButtonIcon(button, kSpeakerIcon);
        return;
    }
    const QString path = LocalPath(audioPath);
    if (!AudioPlayer::CheckFile(path)) {
        // Named as typed: that is the text the user can find on the page.
        ShowResourceMessage(
            this, IDS_BAD_AUDIO_FORMAT, PromptIcon::Warning, PromptButtons::Ok, audioPath);
        return;
    }
    m_player->Play(path);
    m_playing = true;
    SetButtonIcon(button, kSpeakerPlayingIcon);
}

void ViewResponses::OnPlaybackFinished()
{
    m_playing = false;
    SetButtonIcon(m_ui.playCorrectButton, kSpeakerIcon);
    SetButtonIcon(m_ui.playIncorrectButton, kSpeakerIcon);
}

void ViewResponses::OnLogging()
{
    DialogLogging dialog(this);
    dialog.SetSettings(m_logging);
    if (dialog.exec() == QDialog::Accepted)
        m_logging = dialog.Settings();
}
