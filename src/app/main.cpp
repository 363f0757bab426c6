#include "app/AppMain.h"
#include "framework/ProgramSettings.h"
#include "framework/ResourceIcon.h"
#include "model/ProjectReadAhead.h"

#include <QApplication>

#include <csignal>

int main(int argc, char** argv)
{
    // A file size limit then fails the write with EFBIG, which is reported, instead of ending the
    // program.
    std::signal(SIGXFSZ, SIG_IGN);
    // Usage and version are answered before a display is needed.
    const CommandLine early = CommandLine::Parse(CommandLine::FromArgv(argc, argv));
    if (early.action == CommandLine::Action::ShowHelp
        || early.action == CommandLine::Action::ShowVersion)
        return early.Answer();
    // The named project is read while the window is built.
    std::unique_ptr<ProjectReadAhead> readAhead;
    if (early.action == CommandLine::Action::Run && !early.projectFile.isEmpty())
        readAhead = std::make_unique<ProjectReadAhead>(early.projectFile);

    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QLatin1String(ProgramSettings::kOrganisation));
    QCoreApplication::setApplicationName(ProgramSettings::ApplicationName());
    // Wayland desktops match the window to its desktop entry by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral(ZARNITH_DESKTOP_ID));
    QApplication::setWindowIcon(
        IconReadWhenDrawn(QStringLiteral(":/images/zarnith-%1.png"), { 16, 32, 48, 64, 128, 256 }));

    AppMain appMain(QCoreApplication::arguments());
    appMain.SetReadAhead(std::move(readAhead));
    return appMain.Run();
}
