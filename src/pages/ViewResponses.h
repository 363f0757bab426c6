#pragma once

#include "forms/ResponsesPageForm.h"
#include "framework/FormView.h"

#include <QByteArray>

#include <memory>

class AudioPlayer;
class History;

// The Responses page: sounds, messages, the fail URL and e-mail logging. Either sound can be
// heard from here; one press starts a sound when none plays, and stops it when one does.
class ViewResponses : public FormView
{
    Q_OBJECT

public:
    // urlHistory is the run's list of URLs, which the fail URL offers and extends.
    ViewResponses(Doc& doc, History& urlHistory, QWidget* parent = nullptr);
    ~ViewResponses() override;

    void OnInitialUpdate() override;
    // Also puts the fail URL at the front of the URL history, changed or not.
    bool Commit() override;

    bool IsPlaying() const { return m_playing; }

private:
    void Browse(QByteArray& audioPath);
    void Play(const QByteArray& audioPath, QPushButton* button);
    void OnPlaybackFinished();
    void OnLogging();

    History& m_urlHistory;
    const ResponsesPageForm m_ui;
    std::unique_ptr<AudioPlayer> m_player;
    // One for the page: set while either sound plays.
    bool m_playing = false;
};
