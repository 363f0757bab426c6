#pragma once

#include "generate/ResourceList.h"
#include "model/Doc.h"
#include "publish/ProjectState.h"
#include "support/TestPrinting.h"
#include "support/TestPrompts.h"
#include "util/ClassPath.h"
#include "util/PreviewDirectory.h"
#include "util/ResourceText.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QProgressDialog>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>
#include <gtest/gtest.h>
#include <ostream>
#include <vector>

// A string-table message as the user reads it.
inline QString Message(int id, const QByteArray& first = {}, const QByteArray& second = {})
{
    return QString::fromLocal8Bit(FormatResourceText(id, first, second));
}

// Looks at every modal dialog but a progress window that opens while it lives, then closes it, so
// that code which runs a dialog to its end can be driven from a test.
class ModalDialogWatcher
{
public:
    explicit ModalDialogWatcher(std::function<void(QDialog&)> inspect)
        : m_inspect(std::move(inspect))
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            // A progress window closes by itself, or by its Cancel.
            if (dialog && dialog->isVisible() && !qobject_cast<QProgressDialog*>(dialog)) {
                m_inspect(*dialog);
                dialog->done(QDialog::Rejected);
            }
        });
        m_timer.start(5);
    }

private:
    std::function<void(QDialog&)> m_inspect;
    QTimer m_timer;
};

inline QByteArray ReadBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

inline bool WriteBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        && file.write(bytes) == bytes.size();
}

// A scratch folder and a project for one test, settings of its own, the applet class beside the
// test program (where the resource list looks for it), an empty preview folder, and CLASSPATH put
// back afterwards.
class OutputsTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, Path("settings"));
        const QString applet = QFile::decodeName(AppletClassPath());
        if (!QFile::exists(applet) && !QFile::copy(ZARNITH_BUILD_DIR "/Zarnith.class", applet)) {
            ASSERT_TRUE(WriteBytes(applet, "\xCA\xFE\xBA\xBE applet stand-in"));
        }
        m_preview = PreviewDirectory();
        ASSERT_FALSE(m_preview.isEmpty());
        DeletePreviewFiles(m_preview);
    }

    void TearDown() override
    {
        DeletePreviewFiles(m_preview);
        SetClassPath(m_savedClassPath);
    }

    QString Path(const QString& name) const { return m_dir.filePath(name); }
    QByteArray Bytes(const QString& name) const { return QFile::encodeName(Path(name)); }
    QString PreviewPath(const QByteArray& name) const
    {
        return QFile::decodeName(m_preview + name);
    }
    QByteArray Applet() const { return ReadBytes(QFile::decodeName(AppletClassPath())); }

    // A file with made-up content in the scratch folder.
    QByteArray MakeFile(const QString& name)
    {
        EXPECT_TRUE(WriteBytes(Path(name), "content of " + name.toUtf8()));
        return Bytes(name);
    }

    // A Sun audio file the modern box's sound conversion takes: 8000 Hz, mono, mu-law.
    QByteArray MakeSunAudio(const QString& name)
    {
        const QByteArray header = QByteArray::fromHex("2e736e64"
                                                      "00000018"
                                                      "00000010"
                                                      "00000001"
                                                      "00001f40"
                                                      "00000001");
        EXPECT_TRUE(WriteBytes(Path(name), header + QByteArray(16, '\x7f')));
        return Bytes(name);
    }

    Doc m_doc;
    ProjectState m_project;
    QByteArray m_preview;

private:
    QTemporaryDir m_dir;
    const QByteArray m_savedClassPath = CurrentClassPath();
};
