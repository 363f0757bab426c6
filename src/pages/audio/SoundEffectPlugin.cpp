#include "pages/audio/SoundEffectPlugin.h"

#include <QAudioDevice>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

#include <utility>

namespace {

class SoundEffectDevice : public AudioDevice
{
public:
    ~SoundEffectDevice() override { Close(); }

    bool Open(const QString& wavePath) override
    {
        Close();
        if (QMediaDevices::audioOutputs().isEmpty())
            return false;
        m_effect = std::make_unique<QSoundEffect>();
        m_effect->setSource(QUrl::fromLocalFile(wavePath));
        return true;
    }

    void Play(std::function<void()> finished) override
    {
        if (!m_effect)
            return;
        m_finished = std::move(finished);
        QSoundEffect* effect = m_effect.get();
        QObject::connect(effect, &QSoundEffect::playingChanged, effect, [this, effect] {
            if (!effect->isPlaying())
                Finish();
        });
        QObject::connect(effect, &QSoundEffect::statusChanged, effect, [this, effect] {
            if (effect->status() == QSoundEffect::Error)
                Finish();
        });
        effect->play();
    }

    void Stop() override
    {
        if (m_effect)
            m_effect->stop();
    }

    void Close() override
    {
        m_finished = nullptr;
        if (m_effect)
            m_effect->disconnect();
        m_effect.reset();
    }

private:
    void Finish()
    {
        if (auto finished = std::exchange(m_finished, nullptr))
            finished();
    }

    std::unique_ptr<QSoundEffect> m_effect;
    std::function<void()> m_finished;
};

} // namespace

std::unique_ptr<AudioDevice> SoundEffectPlugin::CreateDevice()
{
    return std::make_unique<SoundEffectDevice>();
}
