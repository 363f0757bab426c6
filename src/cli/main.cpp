#include "cli/CliCommand.h"
#include "cli/CliSupport.h"
#include "util/ProgramInfo.h"

#include <QCoreApplication>
#include <QStringList>

#include <csignal>
#include <cstdio>

namespace {

std::vector<CliCommand> AllCommands()
{
    std::vector<CliCommand> commands = ProjectCommands();
    for (const CliCommand& command : OutputCommands())
        commands.push_back(command);
    for (const CliCommand& command : LockCommands())
        commands.push_back(command);
    return commands;
}

QByteArray HelpText(const std::vector<CliCommand>& commands)
{
    QByteArray text = "usage: zarnith-cli COMMAND [ARGUMENTS]\n"
                      "       zarnith-cli --help | --version\n\ncommands:\n";
    for (const CliCommand& command : commands)
        text += QByteArray("  ") + command.name + ' ' + command.usage + '\n';
    return text;
}

QByteArray VersionText()
{
    const ProgramInfo& info = CurrentProgramInfo();
    return info.productName + " " + info.productVersion + " (build " + info.privateBuild + ")\n";
}

} // namespace

int main(int argc, char** argv)
{
    // A file size limit then fails the write with EFBIG, which is reported, instead of ending
    // the program.
    std::signal(SIGXFSZ, SIG_IGN);
    RecordCommandArguments(argc, argv);
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    const std::vector<CliCommand> commands = AllCommands();

    if (arguments.isEmpty()) {
        std::fputs(HelpText(commands).constData(), stderr);
        return CliUsage;
    }
    const QString& name = arguments.first();
    if (name == QLatin1String("--help") || name == QLatin1String("-h"))
        return WriteStdout(HelpText(commands)) ? CliSuccess : CliFailure;
    if (name == QLatin1String("--version"))
        return WriteStdout(VersionText()) ? CliSuccess : CliFailure;

    for (const CliCommand& command : commands) {
        if (name != QLatin1String(command.name))
            continue;
        const QStringList commandArguments = arguments.mid(1);
        if (!command.takesTexts && commandArguments.contains(QString()))
            return ReportFailure("zarnith-cli: an empty argument names no file");
        return command.run(commandArguments);
    }
    std::fprintf(stderr, "zarnith-cli: unknown command '%s'\n", qPrintable(name));
    std::fputs(HelpText(commands).constData(), stderr);
    return CliUsage;
}
