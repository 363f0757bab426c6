#include "publish/ExternalBrowser.h"

#include "framework/ProgramSettings.h"
#include "util/ClassPath.h"
#include "util/RawIniValue.h"

namespace {

const ProgramSettings::Setting<int> kBrowserLocal { "Options/BrowserLocal", 0 };
// The command is read and written as the plain text of its line (RawIniValue.h).
const char kCommandSection[] = "Options";
const char kCommandKey[] = "Browser";

} // namespace

ExternalBrowser ExternalBrowser::AtStartUp()
{
    ExternalBrowser browser;
    browser.command
        = ReadRawIniValue(ProgramSettings::Store().fileName(), kCommandSection, kCommandKey)
              .value_or(QByteArray());
    browser.local = kBrowserLocal.Get();
    browser.userClassPath = CurrentClassPath();
    return browser;
}

void ExternalBrowser::WriteSettings() const
{
    kBrowserLocal.Set(local);
    WriteRawIniValue(ProgramSettings::Store().fileName(), kCommandSection, kCommandKey, command);
}
