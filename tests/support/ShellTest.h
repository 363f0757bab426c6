#pragma once

#include "app/AppMain.h"
#include "app/FrameMain.h"
#include "framework/DocumentManager.h"
#include "framework/FormView.h"
#include "framework/PageTabWindow.h"
#include "model/Doc.h"
#include "model/ProjectFile.h"
#include "support/TestForms.h"
#include "support/TestPrinting.h"
#include "support/TestPrompts.h"
#include "util/ClassPath.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <ostream>

// A run of the program inside the test: settings in a folder of its own, scripted prompts that
// fail the test on any question not scripted, the preview folder in the temporary folder, and
// CLASSPATH put back afterwards.
class ShellTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_folder.isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, Path("settings"));
        m_savedClassPath = CurrentClassPath();
        m_prompts = std::make_unique<TestPrompts>();
    }

    void TearDown() override
    {
        m_app.reset();
        m_prompts.reset();
        SetClassPath(m_savedClassPath);
    }

    QString Path(const QString& name) const { return m_folder.filePath(name); }

    static QSettings Settings()
    {
        return QSettings(QStringLiteral("Velto"), QStringLiteral("Zarnith"));
    }

    // Starts the program as if run with these arguments after its name.
    bool Start(const QStringList& arguments = {}, bool offerNewOpenDialog = false)
    {
        AppOptions options;
        options.previewDirectory = QFile::encodeName(Path("Preview")) + '/';
        options.showSplash = false;
        options.offerNewOpenDialog = offerNewOpenDialog;
        m_app = std::make_unique<AppMain>(
            QStringList { QStringLiteral("zarnith") } + arguments, options);
        return m_app->InitInstance();
    }

    AppMain& App() const { return *m_app; }
    FrameMain& Frame() const { return *m_app->MainFrame(); }
    Doc& Document() const { return m_app->Document(); }
    TestPrompts& Prompts() const { return *m_prompts; }

    // A project file with the defaults but for its width.
    QString WriteProject(const QString& name, int width) const
    {
        Doc doc;
        doc.width = width;
        const QString path = Path(name);
        EXPECT_TRUE(SaveProject(doc, path).ok);
        return path;
    }

    void SetRecentFiles(const QStringList& files) const
    {
        QSettings settings = Settings();
        for (int i = 0; i < files.size(); ++i)
            settings.setValue(QStringLiteral("Recent File List/File%1").arg(i + 1), files.at(i));
    }

    void Trigger(int command) const
    {
        QAction* action = Frame().Action(command);
        ASSERT_NE(action, nullptr) << command;
        action->trigger();
    }

    // Goes to the General page and types text into its width edit.
    void TypeWidth(const QString& text) const
    {
        ASSERT_TRUE(Frame().Tabs()->activateTab(FrameMain::kGeneral));
        ControlsOf<GeneralPageForm>(*Frame().PageAt(FrameMain::kGeneral)).widthEdit->setText(text);
    }

    QByteArray ReadFile(const QString& path) const
    {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << qPrintable(path);
        return file.readAll();
    }

    // Runs action on the modal dialog that is about to be shown (or is up) as soon as the event
    // loop turns; records whether there was one.
    template<class Dialog> void WhenModal(std::function<void(Dialog&)> action)
    {
        m_modalSeen.reset();
        QTimer::singleShot(0, qApp, [this, action] {
            auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
            m_modalSeen = dialog != nullptr;
            if (dialog)
                action(*dialog);
        });
    }
    // Whether WhenModal's timer found its dialog; nothing while it has not fired.
    std::optional<bool> ModalSeen() const { return m_modalSeen; }

private:
    QTemporaryDir m_folder;
    QByteArray m_savedClassPath;
    std::unique_ptr<TestPrompts> m_prompts;
    std::unique_ptr<AppMain> m_app;
    std::optional<bool> m_modalSeen;
};
