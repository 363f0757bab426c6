#include "generate/HtmlPage.h"
#include "generate/LockLines.h"
#include "generate/TableCipher.h"
#include "model/Doc.h"

#include <QFile>
#include <QRandomGenerator>
#include <QtCore/qtestsupport_core.h>
#include <QTemporaryDir>
#include <QUrl>
#include <QWebEnginePage>

#include <gtest/gtest.h>

namespace {

// A scrambling project whose scrambled values hold what a browser would decode as character
// references in an attribute, with and without ";": the fail URL and the first locks are made
// from the plain texts that scramble to such references, and randomLocks random locks add the
// cases nobody thought of (about one in five thousand meets one).
Doc DocWithReferenceTraps(int randomLocks)
{
    const auto plainFor = [](const QByteArray& scrambled) {
        return TableCipher::WithFixedKey().Decipher(scrambled);
    };
    Doc doc;
    doc.encrypt = 1;
    doc.failUrl = plainFor("&gt+lt;");
    for (const QByteArray trap : { "&gt+x", "&LT/x", "&amp", "&copy;", "&#65;", "&notin", "&ge;",
             "&lt=x", "x&Aacute.", "&AMP;&" }) {
        LockEntry lock;
        lock.userId = plainFor(trap);
        lock.url = "a.html";
        doc.locks.push_back(lock);
    }
    QRandomGenerator random(5);
    for (int i = 0; i < randomLocks; ++i) {
        LockEntry lock;
        for (QByteArray* field : { &lock.userId, &lock.password, &lock.url }) {
            for (int length = random.bounded(1, 12); length > 0; --length)
                *field += char(random.bounded(35, 127)); // printable, without blank and quote
            field->replace('|', '!'); // which would split the record
        }
        doc.locks.push_back(lock);
    }
    return doc;
}

// The value of every PARAM of the page as the browser engine reads it, by name; empty when the
// page did not load.
QHash<QString, QByteArray> ParametersAsTheBrowserReadsThem(const QString& pagePath)
{
    QHash<QString, QByteArray> parameters;
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
    return parameters;
}

TEST(PageReadBack, TheBrowserHandsTheAppletEveryScrambledValueAsWritten)
{
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
