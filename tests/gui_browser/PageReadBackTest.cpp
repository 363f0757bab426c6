#include "generate/HtmlPage.h"
#include "generate/LockLines.h"
#include "support/ReferenceTraps.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QtCore/qtestsupport_core.h>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#ifdef ZARNITH_HAVE_WEBENGINE
#include <QUrl>
#include <QWebEnginePage>

#include <unistd.h>
#endif

namespace {

// The value of every PARAM of the page as the browser engine reads it, by name; empty when the
// page did not load.
QHash<QString, QByteArray> ParametersAsTheBrowserReadsThem(const QString& pagePath)
{
    QHash<QString, QByteArray> parameters;
#ifdef ZARNITH_HAVE_WEBENGINE
    // Chromium refuses its sandbox to root, as the tests run in CI.
    if (geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QWebEnginePage page;
    bool loaded = false;
    QObject::connect(&page, &QWebEnginePage::loadFinished, [&](bool ok) { loaded = ok; });
    page.load(QUrl::fromLocalFile(pagePath));
    if (!QTest::qWaitFor([&] { return loaded; }, 60000))
        return parameters;
    bool read = false;
    page.runJavaScript(QStringLiteral("Array.from(document.querySelectorAll('param'),"
                                      " p => [p.getAttribute('name'), p.getAttribute('value')])"),
        [&](const QVariant& result) {
            for (const QVariant& pair : result.toList())
                parameters.insert(pair.toList().value(0).toString(),
                    pair.toList().value(1).toString().toLatin1());
            read = true;
        });
    if (!QTest::qWaitFor([&] { return read; }, 30000))
        parameters.clear();
#else
    Q_UNUSED(pagePath);
#endif
    return parameters;
}

TEST(PageReadBack, TheBrowserHandsTheAppletEveryScrambledValueAsWritten)
{
#ifndef ZARNITH_HAVE_WEBENGINE
    GTEST_SKIP() << "Qt WebEngine was not found";
#endif
    const Doc doc = DocWithReferenceTraps(20000);
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("page.html"));
    QFile file(path);
    const QByteArray html = BuildHtmlPage(doc, HtmlPageForm::File);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(html) == html.size());
    file.close();

    const QHash<QString, QByteArray> parameters = ParametersAsTheBrowserReadsThem(path);
    ASSERT_FALSE(parameters.isEmpty()) << "the page did not load";
    EXPECT_EQ(parameters.value(QStringLiteral("FailUrl")), ScrambleText(doc, doc.failUrl));
    int differing = 0;
    for (std::size_t i = 0; i < doc.locks.size(); ++i) {
        const QByteArray written = ScrambleText(doc, LockRecord(doc.locks[i]));
        const QByteArray read = parameters.value(QStringLiteral("Lock%1").arg(i));
        if (read != written && ++differing <= 5)
            ADD_FAILURE() << "Lock" << i << " written " << written.constData() << " read "
                          << read.constData();
    }
    EXPECT_EQ(differing, 0);
}

} // namespace
