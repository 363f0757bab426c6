#include "framework/ProgramSettings.h"

#include "util/ProgramInfo.h"

namespace ProgramSettings {

namespace {

    const char kRecentSection[] = "Recent File List";

    QString RecentSlot(int slot)
    {
        return QStringLiteral("File%1").arg(slot);
    }

} // namespace

QString ApplicationName()
{
    return QString::fromLatin1(CurrentProgramInfo().productName);
}

QSettings Store()
{
    return QSettings(QLatin1String(kOrganisation), ApplicationName());
}

QStringList RecentFiles(int count)
{
    QSettings settings = Store();
    settings.beginGroup(QLatin1String(kRecentSection));
    QStringList files;
    for (int slot = 1; slot <= count; ++slot) {
        const QString path = settings.value(RecentSlot(slot)).toString();
        if (!path.isEmpty())
            files.append(path);
    }
    return files;
}

void SetRecentFiles(const QStringList& files)
{
    QSettings settings = Store();
    settings.beginGroup(QLatin1String(kRecentSection));
    settings.remove(QString());
    for (int i = 0; i < files.size(); ++i)
        settings.setValue(RecentSlot(i + 1), files.at(i));
}

} // namespace ProgramSettings
