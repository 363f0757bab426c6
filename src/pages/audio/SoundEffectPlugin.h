#pragma once

#include "pages/AudioDevice.h"

#include <QObject>

// Makes sound devices on Qt Multimedia's sound effect, which reads 8-bit PCM wave files by itself.
class SoundEffectPlugin : public QObject, public AudioDeviceFactory
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID ZARNITH_AUDIO_DEVICE_FACTORY_IID)
    Q_INTERFACES(AudioDeviceFactory)

public:
    std::unique_ptr<AudioDevice> CreateDevice() override;
};
