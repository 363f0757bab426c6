#include "util/Base64.h"
#include "util/Paths.h"
#include "util/PreviewDirectory.h"
#include "util/ProgramInfo.h"
#include "util/ResourceText.h"
#include "util/StringIds.h"
#include "util/TextEncoding.h"
#include "util/TextUtil.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(LineBreaks, ConvertBetweenStoredAndDisplayForms)
{
    EXPECT_EQ(UnescapeLineBreaks("a\\nb"), "a\r\nb");
    EXPECT_EQ(UnescapeLineBreaks("a\\"), "a\\");
    EXPECT_EQ(UnescapeLineBreaks("a\\tb\\\\n"), "a\\tb\\\r\n");
    EXPECT_EQ(EscapeLineBreaks("a\r\nb"), "a\\nb");
    EXPECT_EQ(EscapeLineBreaks("a\nb"), "a\\nb");
    EXPECT_EQ(EscapeLineBreaks("a\rb"), "ab");
    // A typed backslash + "n" reads back as a line break.
    EXPECT_EQ(UnescapeLineBreaks(EscapeLineBreaks("c:\\new")), "c:\r\new");
}

TEST(LineBreaks, InverseForTextsWithoutBackslashes)
{
    QRandomGenerator random(3);
    const QByteArray pieces[] = { "\r\n", "a", " ", "n", "\xe9", "line" };
    for (int round = 0; round < 200; ++round) {
        QByteArray display;
        for (int i = random.bounded(30); i > 0; --i)
            display += pieces[random.bounded(6)];
        EXPECT_EQ(UnescapeLineBreaks(EscapeLineBreaks(display)), display);
        EXPECT_FALSE(EscapeLineBreaks(display).contains('\n'));
    }
}

// Texts from Windows code pages are not valid UTF-8 and read as Windows-1252.
TEST(TextEncoding, Utf8WhenValidElseWindows1252)
{
    EXPECT_EQ(DecodeProjectText("Stra\xC3\x9F"
                                "e"),
        QStringLiteral("Stra\u00DFe"));
    EXPECT_EQ(DecodeProjectText("\xEF\xBB\xBF"
                                "a"),
        QStringLiteral("\uFEFFa"));
    EXPECT_EQ(DecodeProjectText("Stra\xDF"
                                "e \x80\x81\x9F\xA0\xFF"),
        QStringLiteral("Stra\u00DFe \u20AC\u0081\u0178\u00A0\u00FF"));
    // A truncated UTF-8 sequence makes the whole text a code-page text.
    EXPECT_EQ(DecodeProjectText("\xC3\xA9\xC3"), QStringLiteral("\u00C3\u00A9\u00C3"));
}

TEST(Paths, ProgramDirectoryEndsWithSeparator)
{
    const QByteArray directory = ProgramDirectory();
    EXPECT_EQ(directory, QFile::encodeName(QCoreApplication::applicationDirPath()) + "/");
}

TEST(Paths, ResolveProgramPath)
{
    const QByteArray program = ProgramDirectory();
    const QByteArray parent
        = QFile::encodeName(QFileInfo(QCoreApplication::applicationDirPath()).path());
    EXPECT_EQ(ResolveProgramPath(""), "");
    EXPECT_EQ(ResolveProgramPath("sounds/ok.au"), program + "sounds/ok.au");
    EXPECT_EQ(ResolveProgramPath("./sounds/../ok.au"), program + "ok.au");
    EXPECT_EQ(ResolveProgramPath("../ok.au"), parent + "/ok.au");
    EXPECT_EQ(ResolveProgramPath("x"), program + "x");
    for (const char* absolute : { "/ok.au", "\\ok.au", "C:ok.au", "/a/../b" })
        EXPECT_EQ(ResolveProgramPath(absolute), absolute);
    // One character is never taken as absolute.
    EXPECT_EQ(ResolveProgramPath("/"), program);
}

TEST(Paths, JoinFullPath)
{
    // A blank ends a folder's name as much as any other character.
    EXPECT_EQ(JoinFullPath("/pub ", " classes", "a.class"), "/pub / classes/a.class");
    EXPECT_EQ(JoinFullPath("/pub ", "/classes", "a.class"), "/pub /a.class");
    EXPECT_EQ(JoinFullPath("/pub/\t", "", "a.class"), "/pub/\t/a.class");
    EXPECT_EQ(JoinFullPath("/pub/x/..", "sub/./deep", "a.class"), "/pub/sub/deep/a.class");
    EXPECT_EQ(JoinFullPath("pub", "", "a.class"),
        QFile::encodeName(QDir::currentPath()) + "/pub/a.class");
    EXPECT_EQ(JoinFullPath("/pub", "", ""), "/pub/");
}

TEST(Paths, DoubleDotsStopAtTheRoot)
{
    // Climbs well past the root from the program's own directory.
    const QByteArray program = ProgramDirectory();
    const QByteArray climb = QByteArray("../").repeated(program.count('/') + 2);
    EXPECT_EQ(ResolveProgramPath(climb + "ok.au"), "/ok.au");
    EXPECT_EQ(JoinFullPath("/", "..", "a.class"), "/a.class");
    EXPECT_EQ(JoinFullPath("/pub/../..", "", "a.class"), "/a.class");
    EXPECT_EQ(JoinFullPath("/..", "", ""), "/");
}

// The program's folder belongs to the installation (read-only, shared, maybe on a read-only /usr),
// so previews go to the user's cache folder, even for root, or nowhere.
TEST(PreviewDirectory, LiesInTheCacheFolderNeverBesideTheProgram)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QByteArray savedCache = qgetenv("XDG_CACHE_HOME");
    const QString besideProgram = QFile::decodeName(ProgramDirectory() + "Preview");
    const bool existedBeside = QFileInfo::exists(besideProgram);

    qputenv("XDG_CACHE_HOME", QFile::encodeName(dir.filePath(QStringLiteral("cache"))));
    EXPECT_EQ(ExistingPreviewDirectory(), QByteArray());
    const QByteArray folder = PreviewDirectory();
    EXPECT_TRUE(folder.startsWith(QFile::encodeName(dir.filePath(QStringLiteral("cache/")))))
        << folder.constData();
    EXPECT_TRUE(folder.endsWith("/Preview/")) << folder.constData();
    EXPECT_TRUE(QFileInfo(QFile::decodeName(folder)).isDir());
    EXPECT_EQ(ExistingPreviewDirectory(), folder);
    EXPECT_EQ(QFileInfo::exists(besideProgram), existedBeside);

    // A cache folder that cannot be made (its parent is a file) gives no preview folder at all.
    const QString file = dir.filePath(QStringLiteral("file"));
    ASSERT_TRUE(QFile(file).open(QIODevice::WriteOnly));
    qputenv("XDG_CACHE_HOME", QFile::encodeName(file + QStringLiteral("/cache")));
    EXPECT_EQ(PreviewDirectory(), QByteArray());
    EXPECT_EQ(ExistingPreviewDirectory(), QByteArray());

    if (savedCache.isNull())
        qunsetenv("XDG_CACHE_HOME");
    else
        qputenv("XDG_CACHE_HOME", savedCache);
}

TEST(PreviewDirectory, CleanUpRemovesLinksAndLeavesWhatTheyPointToAlone)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid() && QDir(dir.path()).mkdir(QStringLiteral("Preview")));
    const QString outside = dir.filePath(QStringLiteral("outside.txt"));
    ASSERT_TRUE(QFile(outside).open(QIODevice::WriteOnly));
    const QFileDevice::Permissions readOnly = QFileDevice::ReadOwner;
    ASSERT_TRUE(QFile::setPermissions(outside, readOnly));
    const QString preview = dir.filePath(QStringLiteral("Preview"));
    ASSERT_TRUE(QFile::link(outside, preview + QStringLiteral("/lock.txt")));
    ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("gone")), preview + QStringLiteral("/x")));
    const QString page = preview + QStringLiteral("/~Zarnith.html");
    ASSERT_TRUE(QFile(page).open(QIODevice::WriteOnly) && QFile::setPermissions(page, readOnly));
    // The site folder's files, in their folders, and a link in one to a folder outside.
    const QString sitePage = preview + QStringLiteral("/members/deep/news.html");
    ASSERT_TRUE(QDir().mkpath(preview + QStringLiteral("/members/deep")));
    ASSERT_TRUE(QFile(sitePage).open(QIODevice::WriteOnly));
    ASSERT_TRUE(QFile::link(dir.path(), preview + QStringLiteral("/members/up")));

    DeletePreviewFiles(QFile::encodeName(preview) + '/');
    EXPECT_TRUE(
        QDir(preview).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System).isEmpty());
    EXPECT_TRUE(QFile::exists(outside));
    EXPECT_FALSE(QFile::permissions(outside) & QFileDevice::WriteOwner);
}

TEST(Paths, NamesKeepTheirBytes)
{
    // A name made on Windows in its 8-bit code page is no valid UTF-8, yet names that file.
    const QByteArray name = "\xe9t\xe9.au";
    EXPECT_EQ(ResolveProgramPath("sounds/" + name), ProgramDirectory() + "sounds/" + name);
    EXPECT_EQ(JoinFullPath("/pub/\xe9", "sub", name), "/pub/\xe9/sub/" + name);
    EXPECT_EQ(FileNamePart("/pub/" + name), name);
}

TEST(Paths, FileNamePart)
{
    EXPECT_EQ(FileNamePart("C:\\Sounds\\ok.au"), "ok.au");
    EXPECT_EQ(FileNamePart("/home/ann/ok.au"), "ok.au");
    EXPECT_EQ(FileNamePart("mixed/dir\\ok"), "ok");
    EXPECT_EQ(FileNamePart("ok.au"), "ok.au");
    EXPECT_EQ(FileNamePart("C:ok.au"), "ok.au");
    EXPECT_EQ(FileNamePart("C:\\Sounds\\"), "");
    EXPECT_EQ(FileNamePart(""), "");
}

TEST(ResourceText, LoadsAndFormatsEntries)
{
    EXPECT_EQ(LoadResourceText(IDS_LOADING_MESSAGE), "Please wait while locks load...");
    EXPECT_EQ(LoadResourceText(IDS_BAD_FILE_FORMAT), "Unexpected file format.");
    EXPECT_TRUE(LoadResourceText(12345).isEmpty());
    // The table names the product through a placeholder.
    EXPECT_EQ(LoadResourceText(IDS_LOCK_DATA_FILTER),
        CurrentProgramInfo().productName + " Lock Data (*.json)|*.json|All Files (*.*)|*.*||");
    EXPECT_EQ(FormatResourceText(IDS_FILE_NOT_FOUND, "a.loc"), "a.loc was not found.");
    // A placeholder inside a substituted text is not replaced again.
    EXPECT_EQ(FormatResourceText(IDS_COPY_FAILED, "%2", "b"), "Unable to copy file '%2' to 'b'!");
    EXPECT_TRUE(FormatResourceText(12345, "a").isEmpty());
}

TEST(ProgramInfo, ReadsTheCompiledBlock)
{
    const ProgramInfo& info = CurrentProgramInfo();
    EXPECT_EQ(info.productName, "Zarnith");
    EXPECT_EQ(info.internalName, "Zarnith");
    EXPECT_EQ(info.productVersion, "1.02");
    EXPECT_EQ(info.privateBuild, "29");
    EXPECT_TRUE(info.fileDescription.isEmpty());
    EXPECT_FALSE(info.legalCopyright.isEmpty());
}

TEST(ProgramInfo, MissingKeysLeaveTheirFieldsEmpty)
{
    const VersionBlock block
        = { { "ProductName", "P" }, { "InternalName", "I" }, { "ProductVersion", "V" },
              { "PrivateBuild", "B" }, { "LegalCopyright", "C" }, { "LegalTrademarks", "" } };
    const ProgramInfo info = ReadProgramInfo(block);
    EXPECT_EQ(info.productName, "P");
    EXPECT_EQ(info.internalName, "I");
    EXPECT_EQ(info.productVersion, "V");
    EXPECT_EQ(info.privateBuild, "B");
    EXPECT_EQ(info.legalCopyright, "C");
    EXPECT_TRUE(info.fileDescription.isEmpty());
    EXPECT_TRUE(info.legalTrademarks.isEmpty());
    EXPECT_TRUE(ReadProgramInfo({}).productName.isEmpty());
}

TEST(Base64, AppendsWhatQtWritesForEveryLengthAndRemainder)
{
    QByteArray bytes;
    for (int length = 0; length < 40; ++length) {
        QByteArray text = "prefix:";
        AppendBase64(text, bytes);
        EXPECT_EQ(text, "prefix:" + bytes.toBase64()) << length;
        bytes += char(QRandomGenerator::global()->bounded(256));
    }
    bytes.resize(100001);
    QRandomGenerator::global()->fillRange(
        reinterpret_cast<quint32*>(bytes.data()), bytes.size() / qsizetype(sizeof(quint32)));
    QByteArray text;
    AppendBase64(text, bytes);
    EXPECT_EQ(text, bytes.toBase64());
}
