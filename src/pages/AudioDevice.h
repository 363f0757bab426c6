#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

// The sound output that the audio player drives: one wave file at a time, opened, played with a
// notice when it is over, stopped and closed.
class AudioDevice
{
public:
    virtual ~AudioDevice() = default;

    // Prepares the wave file for playing; false when there is nothing to play it on.
    virtual bool Open(const QString& wavePath) = 0;
    // Starts the opened sound. finished runs once: when the sound ends, fails or is stopped.
    virtual void Play(std::function<void()> finished) = 0;
    virtual void Stop() = 0;
    virtual void Close() = 0;
};

// What the sound plugin exports: it makes devices on the system's sound output.
class AudioDeviceFactory
{
public:
    virtual ~AudioDeviceFactory() = default;

    virtual std::unique_ptr<AudioDevice> CreateDevice() = 0;
};

#define ZARNITH_AUDIO_DEVICE_FACTORY_IID "com.velto.Zarnith.AudioDeviceFactory/1.0"
Q_DECLARE_INTERFACE(AudioDeviceFactory, ZARNITH_AUDIO_DEVICE_FACTORY_IID)

// The system's sound output. Qt Multimedia and its sound back ends come with the program's sound
// plugin, loaded at the first Open: a run that plays no sound never loads them. Without the
// plugin nothing plays. A factory installed with SetAudioDeviceFactory makes it instead.
std::unique_ptr<AudioDevice> CreateSystemAudioDevice();

// Makes the devices with factory instead of the plugin (nullptr: the plugin again) and returns
// the factory installed before. For tests that hear what would be played.
AudioDeviceFactory* SetAudioDeviceFactory(AudioDeviceFactory* factory);

// The sound plugin's library name without prefix or suffix ("zarnith_audio" unless changed).
QString AudioPluginName();
// Looks for another library from now on; an absolute path is looked for there only.
void SetAudioPluginName(const QString& name);
