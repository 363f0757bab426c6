#pragma once

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

// The system's sound output; one that never plays when the program has none.
std::unique_ptr<AudioDevice> CreateSystemAudioDevice();
