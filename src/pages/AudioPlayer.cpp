#include "pages/AudioPlayer.h"

#include "framework/WaitCursor.h"
#include "util/SunAudio.h"

#include <QDir>
#include <QFile>
#include <QTemporaryFile>

AudioPlayer::AudioPlayer(std::unique_ptr<AudioDevice> device, QObject* parent)
    : QObject(parent)
    , m_device(std::move(device))
{
}

AudioPlayer::~AudioPlayer()
{
    Stop();
    RemoveTemporaryFile();
}

bool AudioPlayer::CheckFile(const QString& path)
{
    return CheckSunAudioFile(path);
}

void AudioPlayer::Play(const QString& path)
{
    if (path.isEmpty())
        return;
    MakeTemporaryWave(path);
    StartPlayback();
}

void AudioPlayer::MakeTemporaryWave(const QString& path)
{
    const WaitCursor wait;
    RemoveTemporaryFile();
    QTemporaryFile file(QDir::tempPath() + QStringLiteral("/VelXXXXXX.wav"));
    file.setAutoRemove(false);
    if (!file.open())
        return;
    m_temporaryPath = file.fileName();
    file.close();
    // A failed conversion leaves an empty wave file, which plays nothing.
    ConvertSunAudioFile(path, m_temporaryPath);
}

void AudioPlayer::StartPlayback()
{
    if (m_temporaryPath.isEmpty())
        return;
    m_deviceOpen = m_device->Open(m_temporaryPath);
    if (!m_deviceOpen)
        return;
    m_device->Play([this] {
        // Never inside the caller's own call: the page sees the end as a message of its own.
        QMetaObject::invokeMethod(this, &AudioPlayer::finished, Qt::QueuedConnection);
    });
}

void AudioPlayer::Stop()
{
    if (!m_deviceOpen)
        return;
    m_device->Stop();
    m_device->Close();
    m_deviceOpen = false;
}

void AudioPlayer::RemoveTemporaryFile()
{
    if (m_temporaryPath.isEmpty())
        return;
    QFile::remove(m_temporaryPath);
    m_temporaryPath.clear();
}
