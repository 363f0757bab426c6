#include "model/ProjectFile.h"

#include "model/Doc.h"
#include "model/LockRecords.h"
#include "support/ProjectBytes.h"
#include "util/Overloaded.h"
#include "util/StringIds.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <csignal>
#include <functional>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray DefaultProject()
{
    Doc doc;
    return WrittenBytes(doc);
}

QByteArray Bytes(std::initializer_list<int> values)
{
    QByteArray bytes;
    for (int value : values)
        bytes += char(value);
    return bytes;
}

QByteArray SampleProject()
{
    Doc doc;
    doc.htmlFilePath = "/srv/www/login.html";
    doc.encrypt = 1;
    doc.locks.push_back({ "ann", "", "a.html", "" });
    doc.locks.push_back({ "bob", "secret", "members/b.html", "_top" });
    return WrittenBytes(doc);
}

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

TEST(ProjectFormat, DefaultProjectMatchesTheWorkedExample)
{
    const QByteArray bytes = DefaultProject();
    ASSERT_EQ(bytes.size(), 282);
    EXPECT_EQ(bytes.left(9), Bytes({ 0x04, '1', '.', '0', '2', 0x02, '2', '9', 0x00 }));
    EXPECT_EQ(bytes.mid(9, 8), Bytes({ 0x90, 0x01, 0, 0, 0xC8, 0, 0, 0 }));
    EXPECT_EQ(bytes.mid(17, 3), Bytes({ 0x00, 0x00, 46 }));
    EXPECT_EQ(bytes.mid(20, 46), QByteArray("The user ID or password\\nentered is incorrect."));
    EXPECT_EQ(bytes.mid(100, 8), Bytes({ 1, 0, 0, 0, 0, 0, 0, 0 }));
    EXPECT_EQ(bytes.mid(221, 8), Bytes({ 0xC0, 0xDC, 0xC0, 0, 0xC0, 0xDC, 0xC0, 0 }));
    EXPECT_EQ(bytes.mid(261, 9), QByteArray("\x08lock.txt"));
    EXPECT_EQ(bytes.right(12), Bytes({ 0x2C, 0x01, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0 }));
}

TEST(ProjectFormat, LengthPrefixesUseTheShortestFormAndReadBack)
{
    struct Case
    {
        int length;
        QByteArray prefix;
    };
    const Case cases[] = {
        { 0, Bytes({ 0x00 }) },
        { 254, Bytes({ 0xFE }) },
        { 255, Bytes({ 0xFF, 0xFF, 0x00 }) },
        { 65533, Bytes({ 0xFF, 0xFD, 0xFF }) },
        { 65534, Bytes({ 0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00 }) },
        { 70000, Bytes({ 0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00 }) },
    };
    for (const Case& c : cases) {
        Doc doc;
        doc.htmlFilePath = QByteArray(c.length, 'h');
        const QByteArray bytes = WrittenBytes(doc);
        EXPECT_EQ(bytes.mid(8, c.prefix.size()), c.prefix) << c.length;
        EXPECT_EQ(bytes.size(), 282 + c.length + c.prefix.size() - 1) << c.length;
        Doc read;
        ASSERT_TRUE(ReadBytes(read, bytes)) << c.length;
        EXPECT_EQ(read.htmlFilePath, doc.htmlFilePath) << c.length;
    }
}

TEST(ProjectFormat, ReaderAcceptsEveryPrefixFormAndTheWideForm)
{
    const QByteArray rest = DefaultRecordsWithoutLocks().mid(9);
    for (auto form :
        { ProjectBytes::Prefix::Short, ProjectBytes::Prefix::Medium, ProjectBytes::Prefix::Long }) {
        ProjectBytes file;
        file.Text("9.99", form).Text("", form).Text("/tmp/page.html", form).Raw(rest).Int(1);
        file.Text("ann", form).WideText(QStringLiteral("p\u00e4ss"), form).Text("a.html").Text("");
        Doc doc;
        ASSERT_TRUE(ReadBytes(doc, file.Bytes()));
        EXPECT_EQ(doc.htmlFilePath, "/tmp/page.html");
        ASSERT_EQ(doc.locks.size(), 1u);
        EXPECT_EQ(doc.locks[0].userId, "ann");
        EXPECT_EQ(doc.locks[0].password, QStringLiteral("p\u00e4ss").toLocal8Bit());
        EXPECT_EQ(doc.width, 400);
    }
}

TEST(ProjectFormat, RandomProjectsReadBackWithIdenticalFields)
{
    QRandomGenerator random(20240611);
    auto text = [&random](int maxLength) {
        QByteArray bytes(random.bounded(maxLength + 1), Qt::Uninitialized);
        for (char& ch : bytes)
            ch = char(random.bounded(256));
        return bytes;
    };
    auto number = [&random] { return std::int32_t(random.generate()); };
    for (int round = 0; round < 50; ++round) {
        Doc doc;
        for (const DocField& field : DocFields) {
            std::visit(Overloaded {
                           [&](QByteArray Doc::*member) {
                               doc.*member = text(round % 10 == 0 ? 70000 : 300);
                           },
                           [&](std::int32_t Doc::*member) { doc.*member = number(); },
                           [&](Colour Doc::*member) { doc.*member = random.generate(); },
                       },
                field.member);
        }
        doc.publishDirectory = "/not/stored";
        for (int i = random.bounded(20); i > 0; --i)
            doc.locks.push_back({ text(20), text(20), text(300), text(10) });

        Doc read;
        ASSERT_TRUE(ReadBytes(read, WrittenBytes(doc)));
        ExpectSameStoredFields(doc, read);
        EXPECT_TRUE(read.publishDirectory.isEmpty());
    }
}

TEST(ProjectFormat, LockCounts)
{
    const QByteArray head = DefaultRecordsWithoutLocks();
    const QByteArray lock = ProjectBytes().Text("ann").Text("pw").Text("a.html").Text("").Bytes();
    Doc doc;

    // More locks claimed than the file holds.
    EXPECT_FALSE(ReadBytes(doc, ProjectBytes().Raw(head).Int(2).Raw(lock).Bytes()));
    EXPECT_TRUE(doc.locks.empty());
    EXPECT_FALSE(ReadBytes(doc, ProjectBytes().Raw(head).Int(0x7FFFFFFF).Raw(lock).Bytes()));

    // Zero or a negative count reads no locks; what follows is ignored.
    EXPECT_TRUE(ReadBytes(doc, ProjectBytes().Raw(head).Int(0).Raw(lock).Raw("junk").Bytes()));
    EXPECT_TRUE(doc.locks.empty());
    EXPECT_TRUE(ReadBytes(doc, ProjectBytes().Raw(head).Int(std::uint32_t(-5)).Raw(lock).Bytes()));
    EXPECT_TRUE(doc.locks.empty());

    EXPECT_TRUE(
        ReadBytes(doc, ProjectBytes().Raw(head).Int(2).Raw(lock).Raw(lock).Raw("x").Bytes()));
    ASSERT_EQ(doc.locks.size(), 2u);
    EXPECT_EQ(doc.locks[1].url, "a.html");

    // The memory the locks would take counts against the budget before any is kept.
    ProjectBytes many;
    many.Raw(head).Int(1000);
    for (int i = 0; i < 1000; ++i)
        many.Raw(lock);
    for (const auto& [budget, fits] : { std::pair { 1000 * qint64(sizeof(LockEntry)), false },
             std::pair { qint64(400000), true } }) {
        QBuffer buffer;
        buffer.setData(many.Bytes());
        buffer.open(QIODevice::ReadOnly);
        EXPECT_EQ(ReadProject(doc, buffer, budget), fits) << budget;
        EXPECT_EQ(doc.locks.size(), fits ? 1000u : 2u) << budget;
    }

    // A list long enough to be read in parts, on several threads, reads back in order; a text
    // repeated from the lock before is shared with it and still changes on its own.
    Doc longList;
    for (int i = 0; i < 2 * kLockRecordsPerPart + 5; ++i) {
        const QByteArray number = QByteArray::number(i);
        longList.locks.push_back({ "user" + number, i % 3 ? "same" : number,
            i % 5 ? "members.html" : number + ".html", i % 2 ? "_top" : "" });
    }
    ASSERT_TRUE(ReadBytes(doc, WrittenBytes(longList)));
    ASSERT_EQ(doc.locks.size(), longList.locks.size());
    std::size_t differing = 0;
    for (std::size_t i = 0; i < doc.locks.size(); ++i)
        differing += doc.locks[i].DiffersFrom(longList.locks[i]);
    EXPECT_EQ(differing, 0u);
    doc.locks[2].url[0] = 'X';
    EXPECT_EQ(doc.locks[1].url, "members.html");

    // The texts of a part share one allocation, yet each is a text of its own: terminated,
    // changed alone, and kept, growing, when the others are gone.
    LockEntry& own = doc.locks[15];
    EXPECT_EQ(qstrlen(own.userId.constData()), std::size_t(own.userId.size()));
    own.userId[0] = 'U';
    EXPECT_EQ(own.password, "15");
    EXPECT_EQ(own.url, "15.html");
    own.url.append("?x");
    EXPECT_EQ(doc.locks[16].userId, "user16");
    QByteArray kept = own.password;
    doc.locks.resize(1);
    EXPECT_EQ(kept, "15");
    LockEntry& last = doc.locks[0];
    last.userId.clear();
    last.url.clear();
    kept.clear();
    for (int growth : { 1, 1000000 })
        last.password.append(QByteArray(growth, 'x'));
    EXPECT_EQ(last.password, "0" + QByteArray(1000001, 'x'));
    EXPECT_EQ(last.password.constData()[last.password.size()], '\0');
}

TEST(ProjectFormat, LengthsBeyondTheDataFailAtOnce)
{
    for (std::uint32_t claimed : { 300u, 70000u, 0x7FFFFFFFu, 0xFFFFFFFEu }) {
        const QByteArray bytes = ProjectBytes()
                                     .Text("1.02")
                                     .Text("29")
                                     .Length(claimed, ProjectBytes::Prefix::Long)
                                     .Raw("short")
                                     .Bytes();
        Doc doc;
        EXPECT_FALSE(ReadBytes(doc, bytes)) << claimed;
        const QByteArray wide = ProjectBytes()
                                    .Raw(Bytes({ 0xFF, 0xFE, 0xFF }))
                                    .Length(claimed, ProjectBytes::Prefix::Long)
                                    .Bytes();
        EXPECT_FALSE(ReadBytes(doc, wide)) << claimed;
    }
}

namespace {

// A device that hands out its bytes like a pipe: it cannot say how much is left.
class SequentialSource : public QIODevice
{
public:
    explicit SequentialSource(const QByteArray& bytes)
        : m_bytes(bytes)
    {
        open(QIODevice::ReadOnly);
    }

    bool isSequential() const override { return true; }

protected:
    qint64 readData(char* data, qint64 maxSize) override
    {
        const qint64 size = std::min<qint64>(maxSize, m_bytes.size() - m_offset);
        std::copy_n(m_bytes.constData() + m_offset, size, data);
        m_offset += size;
        return size;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QByteArray m_bytes;
    qint64 m_offset = 0;
};

// A device that accepts limit bytes and then fails every write.
class FailingDevice : public QBuffer
{
public:
    explicit FailingDevice(qint64 limit)
        : m_limit(limit)
    {
    }

protected:
    qint64 writeData(const char* data, qint64 size) override
    {
        if (pos() + size > m_limit)
            return -1;
        return QBuffer::writeData(data, size);
    }

private:
    qint64 m_limit;
};

} // namespace

TEST(ProjectFormat, SequentialDevicesReadTheSameAndFailOnShortData)
{
    const QByteArray sample = SampleProject();
    for (const QByteArray& bytes : { sample, sample.left(200),
             ProjectBytes().Text("1").Length(0xFFFFFFF0u, ProjectBytes::Prefix::Long).Bytes() }) {
        SequentialSource device(bytes);
        Doc doc;
        EXPECT_EQ(ReadProject(doc, device), bytes == sample);
    }
}

TEST(ProjectFormat, TruncationAnywhereLeavesTheProjectAsItWas)
{
    const QByteArray sample = SampleProject();
    Doc doc;
    doc.htmlFilePath = "/previous.html";
    doc.width = 7;
    doc.locks.push_back({ "kept", "", "k.html", "" });
    const QByteArray before = WrittenBytes(doc);
    for (qsizetype cut = 1; cut < sample.size(); ++cut) {
        ASSERT_FALSE(ReadBytes(doc, sample.left(cut))) << cut;
        EXPECT_EQ(WrittenBytes(doc), before) << cut;
    }
}

namespace {

// The sample project with every setting of the block away from its default.
Doc ProjectWithBlock()
{
    Doc doc;
    ReadBytes(doc, SampleProject());
    doc.boxKind = BoxKind::Both;
    doc.iterations = 250000;
    doc.siteFolder = "/srv/site/\xe9t\xe9";
    doc.areas = { { "staff", { "staff/**", "x*.pdf" }, QByteArray(32, 'k'), QByteArray(32, 't') },
        { "club", {}, {}, {} } };
    doc.locks[0].areas = QByteArrayList { "staff" };
    doc.locks[1].areas = QByteArrayList {};
    doc.rememberDays = 30;
    doc.logoutLabel = "Abmelden";
    doc.insecureMessage = "Nur \xfc"
                          "ber https://";
    doc.publishFolder = "/tmp/upload";
    return doc;
}

const QByteArray kBlockMagic = QByteArrayLiteral("ZRNBLK\r\n");

QByteArray Payload(std::int32_t value)
{
    return ProjectBytes().Int(std::uint32_t(value)).Bytes();
}

} // namespace

TEST(SettingsBlock, EachSettingReadsBackBehindTheRecordsAnOldReaderSees)
{
    const std::pair<const char*, std::function<void(Doc&)>> cases[] = {
        { "modern", [](Doc& doc) { doc.boxKind = BoxKind::Modern; } },
        { "both", [](Doc& doc) { doc.boxKind = BoxKind::Both; } },
        { "iterations", [](Doc& doc) { doc.iterations = 100000; } },
        { "site folder", [](Doc& doc) { doc.siteFolder = "site"; } },
        { "areas",
            [](Doc& doc) {
                doc.areas = { { "a", { "**" }, {}, {} } };
            } },
        { "a lock's areas",
            [](Doc& doc) {
                doc.locks[1].areas = QByteArrayList { "a", "b" };
            } },
        { "remember me", [](Doc& doc) { doc.rememberDays = 365; } },
        { "a text of the box", [](Doc& doc) { doc.noAccessMessage = ""; } },
        { "all", [](Doc& doc) { doc = ProjectWithBlock(); } },
    };
    for (const auto& [name, change] : cases) {
        Doc doc;
        ASSERT_TRUE(ReadBytes(doc, SampleProject()));
        const QByteArray oldLayout = WrittenBytes(doc);
        change(doc);
        const QByteArray bytes = WrittenBytes(doc);
        // A reader of the old layout stops where the old file ended, with the same fields.
        EXPECT_TRUE(bytes.startsWith(oldLayout)) << name;
        EXPECT_EQ(bytes.mid(oldLayout.size(), kBlockMagic.size()), kBlockMagic) << name;
        Doc read;
        ASSERT_TRUE(ReadBytes(read, bytes)) << name;
        ExpectSameStoredFields(doc, read);
        EXPECT_EQ(WrittenBytes(read), bytes) << name;
        read.ResetProject();
        Doc fresh;
        fresh.htmlFilePath = read.htmlFilePath;
        EXPECT_EQ(WrittenBytes(read), WrittenBytes(fresh)) << name;
    }
}

TEST(SettingsBlock, ProjectFilesMadeBeforeTheBlockWriteBackUnchanged)
{
    const QString source = QDir::cleanPath(QStringLiteral(ZARNITH_TEST_DATA_DIR "/../.."));
    for (const char* path :
        { "/docs/sample.loc", "/fuzz/corpus/default.loc", "/fuzz/corpus/sample.loc" }) {
        const QByteArray bytes = ReadFile(source + QLatin1String(path));
        ASSERT_FALSE(bytes.isEmpty()) << path;
        Doc doc;
        ASSERT_TRUE(ReadBytes(doc, bytes)) << path;
        EXPECT_EQ(WrittenBytes(doc), bytes) << path;
    }
}

TEST(SettingsBlock, DamagedBlocksFailTheReadAndLeaveTheProject)
{
    const QByteArray head = SampleProject();
    const ProjectBytes block = ProjectBytes().Raw(head).Raw(kBlockMagic);
    const QByteArray end = ProjectBytes().Record(0, {}).Bytes();
    const struct
    {
        const char* name;
        QByteArray bytes;
        bool reads;
    } cases[] = {
        { "modern", ProjectBytes(block).Record(1, Payload(1)).Raw(end).Bytes(), true },
        { "unknown optional tag skipped",
            ProjectBytes(block).Record(0x7001, "later").Record(1, Payload(2)).Raw(end).Bytes(),
            true },
        { "junk after the locks, as always", ProjectBytes().Raw(head).Raw("ZRX junk").Bytes(),
            true },
        { "unknown kind", ProjectBytes(block).Record(1, Payload(3)).Raw(end).Bytes(), false },
        { "payload longer than its value",
            ProjectBytes(block).Record(1, Payload(1) + "x").Raw(end).Bytes(), false },
        { "payload shorter than its value", ProjectBytes(block).Record(2, "ab").Raw(end).Bytes(),
            false },
        { "tag twice",
            ProjectBytes(block)
                .Record(2, Payload(200000))
                .Record(2, Payload(300000))
                .Raw(end)
                .Bytes(),
            false },
        { "unknown required tag", ProjectBytes(block).Record(0x8001, "x").Raw(end).Bytes(), false },
        { "an area key of 5 bytes",
            ProjectBytes(block)
                .Record(
                    0x8210, ProjectBytes().Int(1).Text("a").Int(0).Text("12345").Text("").Bytes())
                .Raw(end)
                .Bytes(),
            false },
        { "areas for more locks than there are",
            ProjectBytes(block).Record(0x8211, Payload(99)).Raw(end).Bytes(), false },
        { "bytes after the end", ProjectBytes(block).Raw(end).Raw("x").Bytes(), false },
        { "end with a payload", ProjectBytes(block).Record(0, "x").Bytes(), false },
        { "length beyond the data",
            ProjectBytes(block)
                .Raw(ProjectBytes().Int(3).Bytes().left(2))
                .Int(1000)
                .Raw("x")
                .Bytes(),
            false },
    };
    for (const auto& c : cases) {
        Doc doc;
        doc.width = 7;
        EXPECT_EQ(ReadBytes(doc, c.bytes), c.reads) << c.name;
        EXPECT_EQ(doc.width, c.reads ? 400 : 7) << c.name;
    }

    // Cut anywhere after the last lock record but the old end of the file.
    Doc withBlock = ProjectWithBlock();
    const QByteArray whole = WrittenBytes(withBlock);
    Doc doc;
    doc.width = 7;
    for (qsizetype cut = head.size() + 1; cut < whole.size(); ++cut) {
        ASSERT_FALSE(ReadBytes(doc, whole.left(cut))) << cut;
        EXPECT_EQ(doc.width, 7) << cut;
    }
}

TEST(ProjectFormat, WriteFailuresAreReported)
{
    Doc doc;
    doc.locks.push_back({ "ann", "", "a.html", "" });
    for (qint64 limit : { 0, 10, 281 }) {
        FailingDevice device(limit);
        device.open(QIODevice::WriteOnly);
        EXPECT_FALSE(WriteProject(doc, device)) << limit;
    }
}

class ProjectFileOnDisk : public testing::Test
{
protected:
    QString PathOf(const char* name) const { return m_dir.filePath(QLatin1String(name)); }

    QTemporaryDir m_dir;
};

TEST_F(ProjectFileOnDisk, SaveAndLoad)
{
    Doc doc;
    doc.width = 640;
    doc.locks.push_back({ "ann", "", "a.html", "" });
    ASSERT_TRUE(SaveProject(doc, PathOf("a.loc")).ok);
    EXPECT_EQ(ReadFile(PathOf("a.loc")), WrittenBytes(doc));

    Doc read;
    read.locks.push_back({ "stale", "", "x", "" });
    ASSERT_TRUE(LoadProject(read, PathOf("a.loc")).ok);
    ExpectSameStoredFields(doc, read);
}

TEST_F(ProjectFileOnDisk, ZeroLengthFileOpensWithDefaults)
{
    WriteFile(PathOf("empty.loc"), {});
    Doc doc;
    doc.width = 7;
    doc.locks.push_back({ "ann", "", "a.html", "" });
    const FileResult result = LoadProject(doc, PathOf("empty.loc"));
    EXPECT_TRUE(result.ok);
    ExpectSameStoredFields(doc, Doc());
}

TEST_F(ProjectFileOnDisk, ShortOrOversizedFilesAreAnUnexpectedFormatAndLeaveTheProject)
{
    WriteFile(PathOf("cut.loc"), SampleProject().chopped(3));
    Doc withBlock = ProjectWithBlock();
    WriteFile(PathOf("cut-block.loc"), WrittenBytes(withBlock).chopped(3));
    // The largest lock count in a sparse file of 2 GB: empty locks all the way, more than memory
    // holds.
    WriteFile(PathOf("huge.loc"),
        ProjectBytes().Raw(DefaultRecordsWithoutLocks()).Int(0x7FFFFFFF).Bytes());
    QFile huge(PathOf("huge.loc"));
    ASSERT_TRUE(huge.resize(qint64(1) << 31));
    for (const char* name : { "cut.loc", "cut-block.loc", "huge.loc" }) {
        Doc doc;
        doc.width = 7;
        const FileResult result = LoadProject(doc, PathOf(name));
        EXPECT_FALSE(result.ok) << name;
        EXPECT_EQ(result.messageId, IDS_BAD_FILE_FORMAT) << name;
        EXPECT_EQ(doc.width, 7) << name;
    }
}

TEST_F(ProjectFileOnDisk, OpenFailuresNameTheirCause)
{
    Doc doc;
    EXPECT_EQ(LoadProject(doc, PathOf("missing.loc")).messageId, IDS_FILE_NOT_FOUND);
    EXPECT_EQ(LoadProject(doc, PathOf("no/such/folder/a.loc")).messageId, IDS_BAD_PATH);
    EXPECT_EQ(LoadProject(doc, m_dir.path()).messageId, IDS_ACCESS_DENIED);
    EXPECT_EQ(LoadProject(doc, QString()).messageId, IDS_BAD_PATH);
    // Nothing but a regular file is read: a FIFO without a writer would block, a device never
    // ends, a file under /proc claims to be empty.
    ASSERT_EQ(mkfifo(QFile::encodeName(PathOf("fifo")).constData(), 0600), 0);
    for (const QString& path :
        { PathOf("fifo"), QStringLiteral("/dev/zero"), QStringLiteral("/proc/self/status") })
        EXPECT_EQ(LoadProject(doc, path).messageId, IDS_NOT_REGULAR_FILE) << path.toStdString();
    EXPECT_EQ(SaveProject(doc, PathOf("no/such/folder/a.loc")).messageId, IDS_BAD_PATH);
    EXPECT_EQ(SaveProject(doc, m_dir.path()).messageId, IDS_ACCESS_DENIED);
    EXPECT_FALSE(QFile::exists(PathOf("missing.loc")));
}

TEST_F(ProjectFileOnDisk, ReadOnlyFolderDeniesAccess)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind the superuser";
    const QString folder = PathOf("locked");
    ASSERT_TRUE(QDir().mkdir(folder));
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
    Doc doc;
    EXPECT_EQ(SaveProject(doc, folder + QStringLiteral("/a.loc")).messageId, IDS_ACCESS_DENIED);
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST_F(ProjectFileOnDisk, SaveThatFailsMidWriteLeavesTheOldFileWhole)
{
    const QString path = PathOf("keep.loc");
    const QByteArray old = SampleProject();
    WriteFile(path, old);

    Doc doc;
    doc.locks.assign(
        100, LockEntry { "user", "password", "https://example.com/members.html", "_top" });
    const QByteArray docBefore = WrittenBytes(doc);

    // A file size limit makes the write fail part way, even for the superuser.
    rlimit saved {};
    getrlimit(RLIMIT_FSIZE, &saved);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved;
    limited.rlim_cur = 1000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    const FileResult result = SaveProject(doc, path);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.messageId, IDS_FAILED_TO_SAVE_DOC);
    EXPECT_EQ(ReadFile(path), old);
    EXPECT_EQ(WrittenBytes(doc), docBefore);
    EXPECT_EQ(
        QDir(m_dir.path()).entryList(QDir::Files), QStringList { QStringLiteral("keep.loc") });
}
