#include "pages/ViewResponses.h"

#include "framework/Prompts.h"
#include "framework/ResourceIcon.h"
#include "framework/ResourceString.h"
#include "model/BoxReferences.h"
#include "pages/AudioPlayer.h"
#include "pages/DialogLogging.h"
#include "pages/History.h"
#include "pages/PageControls.h"
#include "util/Paths.h"
#include "util/StringIds.h"

namespace {

constexpr int kFolderIcon = 206;
constexpr int kSpeakerIcon = 301;
constexpr int kSpeakerPlayingIcon = 302;

QString LocalPath(const QByteArray& path)
{
    return QString::fromLocal8Bit(ResolveProgramPath(path));
}

} // namespace

ViewResponses::ViewResponses(Doc& doc, History& urlHistory, QWidget* parent)
    : FormView(ResponsesPageForm::kTemplateId, doc, parent, ResponsesPageForm::Id::picturePanel)
    , m_urlHistory(urlHistory)
    , m_ui(FormControls<ResponsesPageForm>(*this))
    , m_player(std::make_unique<AudioPlayer>(CreateSystemAudioDevice()))
{
    // The modern box fetches sounds by their plain file names and follows only web addresses.
    Fields().Field(m_ui.correctAudioEdit, &Doc::correctAudio, ModernBoxCheck(doc, FileNameRefusal));
    Fields().Field(
        m_ui.incorrectAudioEdit, &Doc::incorrectAudio, ModernBoxCheck(doc, FileNameRefusal));
    Fields().Field(m_ui.incorrectMessageEdit, &Doc::incorrectMessage);
    Fields().Field(m_ui.failMessageEdit, &Doc::failMessage);
    Fields().Field(m_ui.failUrlCombo, &Doc::failUrl, ModernBoxCheck(doc, WebAddressRefusal));
    // The Logging dialog edits these.
    Fields().Keep(&Doc::mailHost);
    Fields().Keep(&Doc::correctEmail);
    Fields().Keep(&Doc::failEmail);

    Doc& copies = Fields().Copies();
    const auto click = [this](QPushButton* button, auto handler) {
        connect(button, &QPushButton::clicked, this, handler);
    };
    click(m_ui.browseCorrectButton, [this, &copies] { Browse(copies.correctAudio); });
    click(m_ui.browseIncorrectButton, [this, &copies] { Browse(copies.incorrectAudio); });
    click(m_ui.playCorrectButton,
        [this, &copies] { Play(copies.correctAudio, m_ui.playCorrectButton); });
    click(m_ui.playIncorrectButton,
        [this, &copies] { Play(copies.incorrectAudio, m_ui.playIncorrectButton); });
    click(m_ui.loggingButton, [this] { OnLogging(); });
    connect(m_player.get(), &AudioPlayer::finished, this, &ViewResponses::OnPlaybackFinished);
}

ViewResponses::~ViewResponses() = default;

void ViewResponses::OnInitialUpdate()
{
    FormView::OnInitialUpdate();
    SetButtonIcon(m_ui.browseCorrectButton, kFolderIcon);
    SetButtonIcon(m_ui.browseIncorrectButton, kFolderIcon);
    SetButtonIcon(m_ui.playCorrectButton, kSpeakerIcon);
    SetButtonIcon(m_ui.playIncorrectButton, kSpeakerIcon);
    ShowHistoryInCombo(m_ui.failUrlCombo, m_urlHistory, Fields().Copies().failUrl);
}

bool ViewResponses::Commit()
{
    const bool ok = FormView::Commit();
    m_urlHistory.AddFront(Fields().Copies().failUrl);
    return ok;
}

void ViewResponses::Browse(QByteArray& audioPath)
{
    UpdateData(true);
    FileDialogRequest request;
    request.filter = ResourceString(IDS_AUDIO_FILTER);
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
    dialog.EditValuesOf(Fields().Copies());
    dialog.exec();
}
