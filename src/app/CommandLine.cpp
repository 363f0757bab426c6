#include "app/CommandLine.h"

#include "util/ProgramInfo.h"

#include <cstdio>

namespace {

const char kUsage[] = "Usage: zarnith [options] [project]\n"
                      "Designs a password login box for a web page.\n"
                      "\n"
                      "Options:\n"
                      "  -h, --help     Shows this help.\n"
                      "  -v, --version  Shows the program's name, version and build.\n"
                      "\n"
                      "Arguments:\n"
                      "  project        The project file (*.loc) to open.\n"
                      "\n"
                      "Environment:\n"
                      "  ZARNITH_SCREENSHOT=<path>  Saves a picture of the main window as soon\n"
                      "                             as it is shown, then ends.\n"
                      "  ZARNITH_SCREENSHOT_PAGE=<page>\n"
                      "                             The page in that picture, named as on its\n"
                      "                             tab (e.g. Preview); else the first page.\n";

QString VersionText()
{
    const ProgramInfo& info = CurrentProgramInfo();
    return QString::fromLocal8Bit(
        info.productName + " " + info.productVersion + " (build " + info.privateBuild + ")\n");
}

CommandLine Failure(const QString& what)
{
    CommandLine result;
    result.action = CommandLine::Action::Error;
    result.message
        = QStringLiteral("zarnith: ") + what + QStringLiteral("\n") + QString::fromLatin1(kUsage);
    return result;
}

} // namespace

CommandLine CommandLine::Parse(const QStringList& arguments)
{
    QStringList files;
    QString unknownOption;
    bool help = false;
    bool version = false;
    bool optionsEnded = false;
    for (const QString& argument : arguments.mid(1)) {
        if (optionsEnded || !argument.startsWith(QLatin1Char('-')) || argument.size() == 1)
            files.append(argument);
        else if (argument == QLatin1String("--"))
            optionsEnded = true;
        else if (argument == QLatin1String("-h") || argument == QLatin1String("--help"))
            help = true;
        else if (argument == QLatin1String("-v") || argument == QLatin1String("--version"))
            version = true;
        else if (unknownOption.isEmpty())
            unknownOption = argument;
    }

    CommandLine result;
    if (help) {
        result.action = Action::ShowHelp;
        result.message = QString::fromLatin1(kUsage);
    } else if (version) {
        result.action = Action::ShowVersion;
        result.message = VersionText();
    } else if (!unknownOption.isEmpty()) {
        result = Failure(QStringLiteral("unknown option '%1'").arg(unknownOption));
    } else if (files.size() > 1) {
        result = Failure(QStringLiteral("only one project can be opened at a time"));
    } else {
        result.projectFile = files.value(0);
    }
    return result;
}

QStringList CommandLine::FromArgv(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

int CommandLine::Answer() const
{
    const bool failed = action == Action::Error;
    std::fputs(message.toLocal8Bit().constData(), failed ? stderr : stdout);
    std::fflush(failed ? stderr : stdout);
    return failed ? 2 : 0;
}
