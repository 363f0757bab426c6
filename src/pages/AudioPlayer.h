#pragma once

#include "pages/AudioDevice.h"

#include <QObject>
#include <QString>

#include <memory>

// Plays one Sun audio file at a time: converts it into a temporary wave file (the player's own,
// replaced at the next play and removed with the player) and plays that on the audio device.
// The end of a sound, and a stop, arrive later as Finished, like a posted message.
class AudioPlayer : public QObject
{
    Q_OBJECT

public:
    explicit AudioPlayer(std::unique_ptr<AudioDevice> device, QObject* parent = nullptr);
    ~AudioPlayer() override;

    // True when the file opens and is 8000 Hz mono µ-law Sun audio.
    static bool CheckFile(const QString& path);

    // Plays the file; an empty path does nothing.
    void Play(const QString& path);
    // Stops and closes whatever plays.
    void Stop();

    // The temporary wave file; empty when there is none.
    QString TemporaryFilePath() const { return m_temporaryPath; }

signals:
    void finished();

private:
    void MakeTemporaryWave(const QString& path);
    void StartPlayback();
    void RemoveTemporaryFile();

    std::unique_ptr<AudioDevice> m_device;
    bool m_deviceOpen = false;
    QString m_temporaryPath;
};
