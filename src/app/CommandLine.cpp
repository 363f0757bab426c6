#include "app/CommandLine.h"

#include "util/ProgramInfo.h"

#include <QCommandLineParser>

namespace {

QString VersionText()
{
    const ProgramInfo& info = CurrentProgramInfo();
    return QString::fromLocal8Bit(
        info.productName + " " + info.productVersion + " (build " + info.privateBuild + ")\n");
}

} // namespace

CommandLine CommandLine::Parse(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Designs a password login box for a web page."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("project"),
        QStringLiteral("The project file (*.loc) to open."), QStringLiteral("[project]"));

    CommandLine result;
    if (!parser.parse(arguments)) {
        result.action = Action::Error;
        result.message = parser.errorText() + QLatin1Char('\n') + parser.helpText();
    } else if (parser.isSet(help)) {
        result.action = Action::ShowHelp;
        result.message = parser.helpText();
    } else if (parser.isSet(version)) {
        result.action = Action::ShowVersion;
        result.message = VersionText();
    } else if (parser.positionalArguments().size() > 1) {
        result.action = Action::Error;
        result.message
            = QStringLiteral("Only one project can be opened at a time.\n") + parser.helpText();
    } else {
        result.projectFile = parser.positionalArguments().value(0);
    }
    return result;
}
