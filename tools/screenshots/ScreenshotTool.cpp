// Renders the main window on each of its pages and every dialog into PNG files:
//   zarnith-screenshots [--dark] OUTPUT_FOLDER [PROJECT.loc]
// Runs on any Qt platform; under Xvfb the pictures match what users see. --dark shows the
// windows as a dark desktop theme does: the Fusion style with a dark palette.

#include "app/AppMain.h"
#include "app/DialogAbout.h"
#include "app/DialogNewOpenProject.h"
#include "app/FrameMain.h"
#include "app/SplashWindow.h"
#include "framework/DocumentManager.h"
#include "framework/PageTabWindow.h"
#include "generate/PublishPlan.h"
#include "model/Doc.h"
#include "pages/DialogFont.h"
#include "pages/DialogInputDetails.h"
#include "pages/DialogLockProperties.h"
#include "pages/DialogLogging.h"
#include "pages/DialogMemberArea.h"
#include "pages/History.h"
#include "publish/DialogCopyProgress.h"
#include "publish/DialogPublish.h"
#include "publish/DialogResources.h"
#include "publish/ExternalBrowser.h"
#include "publish/ProjectState.h"
#include "util/ProgramInfo.h"

#include <QApplication>
#include <QColor>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QPalette>
#include <QSettings>
#include <QStandardPaths>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

namespace {

void Wait(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

class Shooter
{
public:
    explicit Shooter(const QString& folder)
        : m_folder(folder)
    {
    }

    bool Save(QWidget& widget, const QString& name)
    {
        widget.show();
        // Long enough for the window to be mapped, laid out and painted, animations started.
        Wait(300);
        const QString path = QDir(m_folder).filePath(name + QStringLiteral(".png"));
        const bool saved = widget.grab().save(path);
        std::printf("%s %s\n", saved ? "wrote" : "FAILED", qPrintable(path));
        m_failures += saved ? 0 : 1;
        return saved;
    }

    // Shows the dialog as it opens, with its values pushed to the controls, then closes it.
    void SaveDialog(QDialog& dialog, const QString& name)
    {
        Save(dialog, name);
        dialog.reject();
    }

    int Failures() const { return m_failures; }

private:
    QString m_folder;
    int m_failures = 0;
};

void ShootPages(Shooter& shooter, FrameMain& frame)
{
    static const char* const names[] = { "page-locks", "page-members", "page-general",
        "page-responses", "page-appearance", "page-preview", "page-generate" };
    for (int index = 0; index < FrameMain::kPageCount; ++index) {
        frame.Tabs()->activateTab(index);
        // The browser engine loads the preview and the modern box draws itself meanwhile.
        if (index == FrameMain::kPreview)
            Wait(2500);
        shooter.Save(frame, QLatin1String(names[index]));
    }
    frame.Tabs()->activateTab(FrameMain::kLocks);
}

void ShootDialogs(Shooter& shooter, Doc& doc, FrameMain& frame, const QString& projectPath)
{
    DialogAbout about(CurrentProgramInfo(), &frame);
    shooter.SaveDialog(about, QStringLiteral("dialog-about"));

    QStringList recent = { projectPath, QDir::home().filePath(QStringLiteral("site/members.loc")) };
    while (recent.size() < DocumentManager::kRecentFileCount)
        recent.append(QString());
    DialogNewOpenProject newOpen(recent, &frame);
    shooter.SaveDialog(newOpen, QStringLiteral("dialog-new-open"));

    QByteArrayList areaNames;
    for (const MemberArea& area : doc.areas)
        areaNames.append(area.name);
    Histories histories;
    DialogLockProperties lock(histories.UrlHistory, &frame);
    if (!doc.locks.empty())
        lock.SetEntry(doc.locks.front());
    lock.SetAreaNames(areaNames);
    shooter.SaveDialog(lock, QStringLiteral("dialog-lock-properties"));

    // The project's first area, or one as a new project's first would be.
    MemberArea area;
    area.name = "Members";
    area.patterns = { "members/**", "downloads/*.pdf" };
    DialogMemberArea areaDialog(
        ResolveSiteFolder(doc.siteFolder, QFile::encodeName(projectPath)), {}, &frame);
    areaDialog.SetArea(doc.areas.empty() ? area : doc.areas.front());
    shooter.SaveDialog(areaDialog, QStringLiteral("dialog-member-area"));

    DialogFont font(histories.FontFamilyHistory, &frame);
    font.EditValuesOf(doc);
    shooter.SaveDialog(font, QStringLiteral("dialog-font"));

    DialogLogging logging(&frame);
    logging.EditValuesOf(doc);
    shooter.SaveDialog(logging, QStringLiteral("dialog-logging"));

    ProjectState project;
    DialogInputDetails details(doc, project, &frame);
    details.EditValuesOf(doc);
    shooter.SaveDialog(details, QStringLiteral("dialog-input-details"));

    DialogResources resources(doc, "<APPLET CODE=\"Zarnith.class\" ...>", &frame);
    shooter.SaveDialog(resources, QStringLiteral("dialog-resources"));

    const QByteArray folder = QFile::encodeName(QDir::home().filePath(QStringLiteral("upload")));
    DialogPublish publish(
        folder,
        [&doc](const QByteArray& destination) {
            return MakePublishPlan(
                doc, { doc.boxKind, ResolveSiteFolder(doc, {}), destination, {} });
        },
        &frame);
    shooter.SaveDialog(publish, QStringLiteral("dialog-publish"));

    DialogCopyProgress progress(3, &frame);
    progress.SetText("Copying file 'Zarnith.class' ");
    progress.SetPosition(1);
    shooter.SaveDialog(progress, QStringLiteral("dialog-copy-progress"));
}

// The colours of a typical dark desktop theme.
QPalette DarkPalette()
{
    const QColor window(45, 45, 48);
    const QColor base(30, 30, 32);
    const QColor text(230, 230, 230);
    const QColor disabledText(128, 128, 128);
    QPalette palette;
    palette.setColor(QPalette::Window, window);
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Base, base);
    palette.setColor(QPalette::AlternateBase, window);
    palette.setColor(QPalette::ToolTipBase, base);
    palette.setColor(QPalette::ToolTipText, text);
    palette.setColor(QPalette::PlaceholderText, disabledText);
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::Button, window);
    palette.setColor(QPalette::ButtonText, text);
    palette.setColor(QPalette::BrightText, QColor(255, 80, 80));
    palette.setColor(QPalette::Link, QColor(90, 160, 240));
    palette.setColor(QPalette::Highlight, QColor(42, 110, 190));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::Light, window.lighter(150));
    palette.setColor(QPalette::Midlight, window.lighter(125));
    palette.setColor(QPalette::Mid, window.darker(120));
    palette.setColor(QPalette::Dark, window.darker(150));
    palette.setColor(QPalette::Shadow, Qt::black);
    for (const QPalette::ColorRole role :
        { QPalette::WindowText, QPalette::Text, QPalette::ButtonText })
        palette.setColor(QPalette::Disabled, role, disabledText);
    return palette;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() > 1 && arguments.at(1) == QLatin1String("--dark")) {
        arguments.removeAt(1);
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
        QApplication::setPalette(DarkPalette());
    }
    if (arguments.size() < 2 || arguments.size() > 3) {
        std::fputs("usage: zarnith-screenshots [--dark] OUTPUT_FOLDER [PROJECT.loc]\n", stderr);
        return 2;
    }
    const QString folder = arguments.at(1);
    const QString project = arguments.value(2);
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(folder));
        return 1;
    }

    // The user's settings and recent files stay untouched.
    QTemporaryDir settingsFolder;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsFolder.path());
    QStandardPaths::setTestModeEnabled(true);

    Doc doc;
    ProjectState projectState;
    Histories histories;
    const ExternalBrowser browser;
    DocumentManager documents(doc);
    FrameMain frame(doc, documents, projectState, histories, browser);
    if (project.isEmpty() ? !documents.FileNew() : !documents.OpenDocumentFile(project))
        return 1;

    Shooter shooter(folder);
    SplashWindow* splash = new SplashWindow;
    shooter.Save(*splash, QStringLiteral("splash"));
    splash->close();
    ShootPages(shooter, frame);
    ShootDialogs(
        shooter, doc, frame, project.isEmpty() ? QString() : QFileInfo(project).absoluteFilePath());
    return shooter.Failures() == 0 ? 0 : 1;
}
