#include "framework/ProgramPlugin.h"
#include "pages/AudioDevice.h"

#include <utility>

namespace {

ProgramPlugin& Plugin()
{
    static ProgramPlugin plugin(QStringLiteral("zarnith_audio"));
    return plugin;
}

AudioDeviceFactory* g_factory = nullptr;

// Hands everything to the plugin's device, made at the first Open. Without the plugin nothing
// plays, and nothing ever reports an end.
class PluginAudioDevice : public AudioDevice
{
public:
    bool Open(const QString& wavePath) override
    {
        if (!m_triedPlugin) {
            m_triedPlugin = true;
            if (auto* factory = qobject_cast<AudioDeviceFactory*>(Plugin().Instance()))
                m_device = factory->CreateDevice();
        }
        return m_device && m_device->Open(wavePath);
    }

    void Play(std::function<void()> finished) override
    {
        if (m_device)
            m_device->Play(std::move(finished));
    }

    void Stop() override
    {
        if (m_device)
            m_device->Stop();
    }

    void Close() override
    {
        if (m_device)
            m_device->Close();
    }

private:
    bool m_triedPlugin = false;
    std::unique_ptr<AudioDevice> m_device;
};

} // namespace

std::unique_ptr<AudioDevice> CreateSystemAudioDevice()
{
    if (g_factory)
        return g_factory->CreateDevice();
    return std::make_unique<PluginAudioDevice>();
}

AudioDeviceFactory* SetAudioDeviceFactory(AudioDeviceFactory* factory)
{
    return std::exchange(g_factory, factory);
}

QString AudioPluginName()
{
    return Plugin().Name();
}

void SetAudioPluginName(const QString& name)
{
    Plugin().SetName(name);
}
