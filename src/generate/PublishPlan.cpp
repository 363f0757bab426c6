#include "generate/PublishPlan.h"

#include "generate/LockInputFile.h"
#include "generate/MemberKeys.h"
#include "generate/MemberSite.h"
#include "generate/ModernBox.h"
#include "generate/OutputFile.h"
#include "generate/ResourceList.h"
#include "model/Doc.h"
#include "util/FileCopy.h"
#include "util/Paths.h"
#include "util/ResourceText.h"
#include "util/StringIds.h"
#include "util/SunAudio.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <algorithm>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

namespace {

using Origin = PlannedFile::Origin;

// A path that names anything at all, a dangling link included.
bool PathExists(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

// The folder's path with its links resolved, or its clean absolute path while it does not exist.
QString RealFolder(const QByteArray& folder)
{
    const QFileInfo info(QFile::decodeName(folder));
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

bool IsInside(const QString& path, const QString& folder)
{
    return path == folder
        || path.startsWith(folder.endsWith(QLatin1Char('/')) ? folder : folder + '/');
}

// The files of the project itself, in publishing order: what is made from the project first,
// then what is copied.
QList<PlannedFile> ProjectFiles(const Doc& doc, const PlanRequest& request, const ProgramInfo& info)
{
    const BoxKind kind = request.kind;
    const QByteArray& pageName = request.pageName;
    QList<PlannedFile> files { { Origin::Page,
        pageName.isEmpty() ? PublishedPageName(doc) : pageName,
        pageName.isEmpty() ? doc.htmlFilePath : QByteArray(), {} } };
    if (UsesModernBox(kind) && !request.lockDataScriptName.isEmpty())
        files.append({ Origin::LockDataScript, request.lockDataScriptName, {}, {} });
    const bool lockFile = doc.ReadsLocksFromFile();
    if (UsesApplet(kind) && lockFile)
        files.append({ Origin::LockInputFile, FileNamePart(doc.lockFile), doc.lockFile, {} });
    if (UsesModernBox(kind)) {
        // The protected pages fetch the locks from the file, whatever the box page does.
        if (lockFile || !doc.areas.empty())
            files.append(
                { Origin::LockData, ModernLockFileName(doc), ModernLockFilePath(doc), {} });
        if (!doc.areas.empty())
            files.append({ Origin::MembersBoxScript, kMembersBoxScriptName, {}, {} });
        for (const QByteArray& audio : AudioResources(doc))
            files.append({ Origin::ConvertedSound, ModernSoundName(audio), audio, {} });
    }
    if (UsesApplet(kind)) {
        const QByteArray applet = AppletClassPath(info);
        files.append({ Origin::Copied, FileNamePart(applet), applet, {} });
        for (const QByteArray& audio : AudioResources(doc))
            files.append({ Origin::Copied, FileNamePart(audio), audio, {} });
    }
    return files;
}

// The sizes of the site files, by where they lie, as the listing found them.
using SiteFileSizes = QHash<QByteArray, qint64>;

// The site folder's files, sorted by path; what is not published goes to leftOut.
std::optional<PlanProblem> SiteFiles(const QByteArray& siteFolder, QList<PlannedFile>& files,
    QList<PlanNote>& leftOut, SiteFileSizes* sizes = nullptr)
{
    const QString root = QFile::decodeName(siteFolder);
    const QFileInfo rootInfo(root);
    if (!rootInfo.isDir())
        return PlanProblem { IDS_SITE_FOLDER_MISSING, siteFolder, {} };
    const QString realRoot = rootInfo.canonicalFilePath();
    if (!rootInfo.isReadable() || !rootInfo.isExecutable())
        return PlanProblem { IDS_SITE_NOT_READABLE, siteFolder, {} };

    QDirIterator entries(root,
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
        QDirIterator::Subdirectories);
    QList<PlannedFile> found;
    const QDir base(root);
    while (entries.hasNext()) {
        const QString path = entries.next();
        const QFileInfo entry = entries.fileInfo();
        const QByteArray relative = QFile::encodeName(base.relativeFilePath(path));
        const QByteArray named = QFile::encodeName(path);
        if (entry.isSymLink()) {
            // A link is followed only to a file inside the folder; its target is never read
            // otherwise.
            const QString target = entry.canonicalFilePath();
            if (target.isEmpty() || !IsInside(target, realRoot) || !QFileInfo(target).isFile()) {
                leftOut.append({ IDS_SITE_LINK_NOT_FOLLOWED, named });
                continue;
            }
        } else if (entry.isDir()) {
            // A folder that cannot be listed would be left out without a word.
            if (!entry.isReadable() || !entry.isExecutable())
                return PlanProblem { IDS_SITE_NOT_READABLE, named, {} };
            continue;
        } else if (!entry.isFile()) {
            leftOut.append({ IDS_SITE_NOT_REGULAR, named });
            continue;
        }
        if (!entry.isReadable())
            return PlanProblem { IDS_SITE_NOT_READABLE, named, {} };
        if (sizes)
            sizes->insert(named, entry.size());
        found.append({ Origin::SiteFile, relative, named, {} });
    }
    std::sort(found.begin(), found.end(),
        [](const PlannedFile& a, const PlannedFile& b) { return a.name < b.name; });
    files.append(found);
    std::sort(leftOut.begin(), leftOut.end(),
        [](const PlanNote& a, const PlanNote& b) { return a.path < b.path; });
    return std::nullopt;
}

// Gives every site file an area holds the transform that seals it for those areas; a large page
// gets its companion just before it, which the page's transform leaves the content to. Whether
// one was added goes to companions.
std::optional<PlanProblem> ProtectSiteFiles(const Doc& doc, QList<PlannedFile>& files,
    const SiteFileSizes& sizes, bool& companions, const ProgramInfo& info)
{
    if (!AreaKeysAreCurrent(doc))
        return PlanProblem { IDS_AREA_KEYS_STALE, {}, {} };
    const auto site = std::make_shared<MemberSite>(doc, info);
    QList<PlannedFile> protectedFiles;
    protectedFiles.reserve(files.size());
    for (PlannedFile& file : files) {
        const QList<int> areas
            = file.origin == Origin::SiteFile ? site->AreasHolding(file.name) : QList<int>();
        if (areas.isEmpty()) {
            protectedFiles.append(std::move(file));
            continue;
        }
        const qint64 size = sizes.value(file.source);
        if (size > kMaxProtectedFileSize)
            return PlanProblem { IDS_PROTECTED_FILE_TOO_LARGE, file.source, {} };
        if (MemberSite::HasCompanion(file.name, size)) {
            companions = true;
            const QByteArray companion = MemberSite::CompanionPath(file.name);
            protectedFiles.append({ Origin::SealedPageContent, companion, file.source,
                [site, companion, areas](const QByteArray& bytes) {
                    return std::optional<QByteArray>(site->Protect(companion, bytes, areas));
                } });
            file.transform = [site, name = file.name](const QByteArray&) {
                return std::optional<QByteArray>(site->PageOfCompanion(name));
            };
        } else {
            file.transform = [site, name = file.name, areas](const QByteArray& bytes) {
                return std::optional<QByteArray>(site->Protect(name, bytes, areas));
            };
        }
        protectedFiles.append(std::move(file));
    }
    files = std::move(protectedFiles);
    return std::nullopt;
}

// Where a file's bytes come from, for telling a clash from one file listed twice.
QByteArray Identity(const PlannedFile& file)
{
    return QByteArray::number(int(file.origin)) + ':' + file.source;
}

// The file as the user knows it, for messages.
QByteArray KnownName(const PlannedFile& file)
{
    return file.source.isEmpty() ? file.name : file.source;
}

// Two files that would take one name (or one file named like the other's folder).
PlanProblem NameClash(const PlannedFile& first, const PlannedFile& second)
{
    // The sealed content's name is the program's choice, not the user's.
    if (first.origin == Origin::SealedPageContent || second.origin == Origin::SealedPageContent) {
        const bool firstIsContent = first.origin == Origin::SealedPageContent;
        return { IDS_SEALED_CONTENT_NAME_TAKEN, KnownName(firstIsContent ? second : first),
            (firstIsContent ? first : second).source };
    }
    return { IDS_SAME_FILE_NAME, KnownName(first), KnownName(second) };
}

// The first two files that would take one name, or one file named like another's folder; the
// same file listed twice (one sound for both responses) is kept once.
std::optional<PlanProblem> CheckNames(QList<PlannedFile>& files)
{
    QHash<QByteArray, const PlannedFile*> byName;
    QList<PlannedFile> unique;
    for (const PlannedFile& file : files) {
        const auto found = byName.constFind(file.name);
        if (found == byName.constEnd()) {
            byName.insert(file.name, &file);
            unique.append(file);
            continue;
        }
        if (Identity(**found) != Identity(file))
            return NameClash(**found, file);
    }
    for (const PlannedFile& file : unique) {
        for (qsizetype slash = file.name.indexOf('/'); slash > 0;
             slash = file.name.indexOf('/', slash + 1)) {
            const auto found = byName.constFind(file.name.left(slash));
            if (found != byName.constEnd())
                return NameClash(**found, file);
        }
    }
    files = unique;
    return std::nullopt;
}

// Creates the folders between folder and the file's name; a link on the way is refused, so
// nothing is written through it.
bool MakeSubfolders(const QByteArray& folder, const QByteArray& name)
{
    QByteArray path = folder;
    const QList<QByteArray> parts = name.split('/');
    for (qsizetype i = 0; i + 1 < parts.size(); ++i) {
        path += parts[i];
        const QFileInfo info(QFile::decodeName(path));
        if (info.isSymLink() || (info.exists() && !info.isDir()))
            return false;
        if (!info.exists() && !QDir().mkdir(QFile::decodeName(path)))
            return false;
        path += '/';
    }
    return true;
}

bool IsFileOfSize(const QFileInfo& info, qint64 size)
{
    return !info.isSymLink() && info.isFile() && info.size() == size;
}

bool ReadsAs(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.readAll() == bytes;
}

bool HoldsBytes(const QString& path, const QByteArray& bytes)
{
    return IsFileOfSize(QFileInfo(path), bytes.size()) && ReadsAs(path, bytes);
}

// The outcome of one file.
enum class Step { Written, Unchanged, Skipped, Stopped };

// The file's bytes passed through its transform, or nothing when it cannot be read.
std::optional<QByteArray> TransformedBytes(const PlannedFile& file)
{
    QFile input(QFile::decodeName(file.source));
    // Read whole at once: a buffer of the device's own would copy the bytes once more.
    if (!input.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return std::nullopt;
    return file.transform(input.readAll());
}

// Transforms the plan's files on a thread of its own, a few files ahead of the writer, so that
// sealing one file overlaps writing those before it. Files too large to hold twice are left to
// the writer, and so is every file whose source cannot be read yet.
class TransformsAhead
{
public:
    explicit TransformsAhead(const QList<PlannedFile>& files)
        : m_files(files)
    {
        for (qsizetype i = 0; i < files.size(); ++i) {
            if (files[i].transform)
                m_jobs.push_back(int(i));
        }
        // One file alone gains nothing from a second thread.
        if (m_jobs.size() > 1)
            m_thread = std::thread([this] { Run(); });
        else
            m_jobs.clear();
    }

    ~TransformsAhead()
    {
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            m_stop = true;
        }
        m_changed.notify_all();
        if (m_thread.joinable())
            m_thread.join();
    }

    // What the thread made of file index; nothing when it made nothing of it. Whatever it made
    // for earlier files is dropped: the writer has passed them.
    std::optional<QByteArray> Take(int index)
    {
        if (!std::binary_search(m_jobs.begin(), m_jobs.end(), index))
            return std::nullopt;
        std::unique_lock<std::mutex> lock(m_mutex);
        // Dropped first, so that the thread has room to reach index.
        for (auto it = m_ready.begin(); it != m_ready.end() && it->first < index;) {
            m_readyBytes -= it->second.size();
            it = m_ready.erase(it);
        }
        m_changed.notify_all();
        m_changed.wait(lock, [&] { return m_done > index; });
        const auto found = m_ready.find(index);
        if (found == m_ready.end())
            return std::nullopt;
        std::optional<QByteArray> bytes = std::move(found->second);
        m_readyBytes -= bytes->size();
        m_ready.erase(found);
        m_changed.notify_all();
        return bytes;
    }

private:
    static constexpr qint64 kLargestFile = 8 * 1024 * 1024;
    static constexpr qint64 kMostBytesAhead = 32 * 1024 * 1024;
    static constexpr std::size_t kMostFilesAhead = 16;

    void Run()
    {
        for (const int index : m_jobs) {
            {
                std::unique_lock<std::mutex> lock(m_mutex);
                m_changed.wait(lock, [&] {
                    return m_stop
                        || (m_readyBytes < kMostBytesAhead && m_ready.size() < kMostFilesAhead);
                });
                if (m_stop)
                    break;
            }
            const PlannedFile& file = m_files[index];
            std::optional<QByteArray> bytes;
            if (QFileInfo(QFile::decodeName(file.source)).size() <= kLargestFile)
                bytes = TransformedBytes(file);
            const std::lock_guard<std::mutex> lock(m_mutex);
            if (bytes) {
                m_readyBytes += bytes->size();
                m_ready.emplace(index, std::move(*bytes));
            }
            m_done = index + 1;
            m_changed.notify_all();
        }
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_done = int(m_files.size());
        m_changed.notify_all();
    }

    const QList<PlannedFile>& m_files;
    // The indices of the files with a transform, in order.
    std::vector<int> m_jobs;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    // Made and not yet taken, by index.
    std::map<int, QByteArray> m_ready;
    qint64 m_readyBytes = 0;
    // Every job before this index is done.
    int m_done = 0;
    bool m_stop = false;
    std::thread m_thread;
};

class PlanWriter
{
public:
    PlanWriter(const Doc& doc, const PublishContent& content, PublishObserver& observer,
        WrittenFiles* written)
        : m_doc(doc)
        , m_content(content)
        , m_observer(observer)
        , m_written(written)
    {
    }

    // prepared: the transformed bytes of a site file, when they were made ahead.
    Step Write(const PlannedFile& file, const QByteArray& destination,
        std::optional<QByteArray> prepared = std::nullopt)
    {
        switch (file.origin) {
        case Origin::Page:
            return WriteBytes(file, destination, m_content.page);
        case Origin::LockInputFile:
            return WriteBytes(file, destination, BuildLockInputFile(m_doc));
        case Origin::LockData:
            return WriteBytes(file, destination, m_content.lockData);
        case Origin::MembersBoxScript:
            return WriteBytes(file, destination, MembersBoxScript());
        case Origin::LockDataScript:
            return WriteBytes(file, destination, m_content.lockDataScript);
        case Origin::ConvertedSound:
            return WriteSound(file, destination);
        case Origin::Copied:
            return Copy(file, destination);
        case Origin::SiteFile:
        case Origin::SealedPageContent:
            break;
        }
        if (!file.transform)
            return Copy(file, destination);
        return Transform(file, destination, std::move(prepared));
    }

private:
    // Asks until the source is there: nothing when it is, else what becomes of the file.
    std::optional<Step> WaitForSource(const PlannedFile& file)
    {
        while (!IsRegularFile(QFile::decodeName(file.source))) {
            const std::optional<Step> step = Answer(m_observer.OnMissing(file));
            if (step)
                return step;
        }
        return std::nullopt;
    }

    // Go means ask again (or go on): nothing; else the step it ends in.
    static std::optional<Step> Answer(PublishObserver::Choice choice)
    {
        switch (choice) {
        case PublishObserver::Choice::Go:
            return std::nullopt;
        case PublishObserver::Choice::Skip:
            return Step::Skipped;
        case PublishObserver::Choice::Stop:
            break;
        }
        return Step::Stopped;
    }

    std::optional<Step> MayReplace(const PlannedFile& file, const QByteArray& destination)
    {
        if (!PathExists(QFile::decodeName(destination)))
            return std::nullopt;
        return Answer(m_observer.OnExisting(file, destination));
    }

    template<class Attempt> Step Retrying(const PlannedFile& file, Attempt attempt)
    {
        for (;;) {
            const std::optional<QByteArray> failure = attempt();
            if (!failure)
                return Step::Written;
            if (const std::optional<Step> step = Answer(m_observer.OnFailed(file, *failure)))
                return *step;
        }
    }

    Step WriteBytes(const PlannedFile& file, const QByteArray& destination, const QByteArray& bytes)
    {
        const QString path = QFile::decodeName(destination);
        // Site files are many and read afresh anyway: only the project's own are kept.
        const bool fromSite
            = file.origin == Origin::SiteFile || file.origin == Origin::SealedPageContent;
        WrittenFiles* written = fromSite ? nullptr : m_written;
        if (m_observer.LeavesUnchangedFiles()
            && (written ? written->Holds(path, bytes) : HoldsBytes(path, bytes)))
            return Step::Unchanged;
        if (const std::optional<Step> step = MayReplace(file, destination))
            return *step;
        return Retrying(file, [&]() -> std::optional<QByteArray> {
            const FileResult result = WritePublishedFile(path, bytes);
            if (result.ok && written)
                written->Note(path, bytes);
            if (result.ok)
                return std::nullopt;
            return FormatResourceText(result.messageId, destination);
        });
    }

    Step WriteSound(const PlannedFile& file, const QByteArray& destination)
    {
        if (const std::optional<Step> step = WaitForSource(file))
            return *step;
        // A conversion is made from the source alone, as a copy is.
        if (m_observer.LeavesUnchangedFiles()
            && IsCopyUpToDate(QFile::decodeName(file.source), QFile::decodeName(destination)))
            return Step::Unchanged;
        if (const std::optional<Step> step = MayReplace(file, destination))
            return *step;
        return Retrying(file, [&]() -> std::optional<QByteArray> {
            QFile input(QFile::decodeName(file.source));
            if (!input.open(QIODevice::ReadOnly) || !CheckSunAudioHeader(input) || !input.seek(0))
                return FormatResourceText(IDS_BAD_AUDIO_FORMAT, file.source);
            const FileResult result = WriteOutputFile(QFile::decodeName(destination),
                [&input](QIODevice& device) { return ConvertSunAudioToWave(input, device); });
            if (result.ok)
                return std::nullopt;
            return FormatResourceText(result.messageId, destination);
        });
    }

    Step Copy(const PlannedFile& file, const QByteArray& destination)
    {
        if (const std::optional<Step> step = WaitForSource(file))
            return *step;
        const QString from = QFile::decodeName(file.source);
        const QString to = QFile::decodeName(destination);
        if (m_observer.LeavesUnchangedFiles() && IsCopyUpToDate(from, to))
            return Step::Unchanged;
        if (const std::optional<Step> step = MayReplace(file, destination))
            return *step;
        bool stopped = false;
        const CopyContinue keepGoing = [&] { return !(stopped = !m_observer.KeepGoing()); };
        const Step step = Retrying(file, [&]() -> std::optional<QByteArray> {
            if (CopyFileOver(from, to, keepGoing) || stopped)
                return std::nullopt;
            return FormatResourceText(IDS_COPY_FAILED, file.source, destination);
        });
        return stopped ? Step::Stopped : step;
    }

    Step Transform(const PlannedFile& file, const QByteArray& destination,
        std::optional<QByteArray> prepared = std::nullopt)
    {
        if (const std::optional<Step> step = WaitForSource(file))
            return *step;
        const std::optional<QByteArray> bytes = prepared ? prepared : TransformedBytes(file);
        if (!bytes) {
            const QByteArray failure
                = FormatResourceText(IDS_COPY_FAILED, file.source, destination);
            const std::optional<Step> step = Answer(m_observer.OnFailed(file, failure));
            return step ? *step : Transform(file, destination);
        }
        return WriteBytes(file, destination, *bytes);
    }

    const Doc& m_doc;
    const PublishContent& m_content;
    PublishObserver& m_observer;
    WrittenFiles* m_written;
};

} // namespace

QByteArray PublishedPageName(const Doc& doc)
{
    const QByteArray name = FileNamePart(doc.htmlFilePath);
    return name.isEmpty() ? QByteArray("index.html") : name;
}

QByteArray ResolveSiteFolder(const Doc& doc, const QByteArray& projectPath)
{
    return ResolveSiteFolder(doc.siteFolder, projectPath);
}

QByteArray ResolveSiteFolder(const QByteArray& siteFolder, const QByteArray& projectPath)
{
    if (siteFolder.isEmpty())
        return {};
    const QString folder = QFile::decodeName(siteFolder);
    if (QDir::isAbsolutePath(folder))
        return siteFolder;
    const QDir beside = projectPath.isEmpty()
        ? QDir::current()
        : QFileInfo(QFile::decodeName(projectPath)).absoluteDir();
    return QFile::encodeName(QDir::cleanPath(beside.absoluteFilePath(folder)));
}

std::optional<QByteArrayList> ListSiteFiles(const QByteArray& siteFolder)
{
    QList<PlannedFile> files;
    QList<PlanNote> leftOut;
    if (SiteFiles(siteFolder, files, leftOut))
        return std::nullopt;
    QByteArrayList names;
    names.reserve(files.size());
    for (const PlannedFile& file : files)
        names.append(file.name);
    return names;
}

std::variant<PublishPlan, PlanProblem> MakePublishPlan(
    const Doc& doc, const PlanRequest& request, const ProgramInfo& info)
{
    // The project names the files the page asks for, never places to write.
    if (doc.ReadsLocksFromFile() && !IsFileName(FileNamePart(doc.lockFile)))
        return PlanProblem { IDS_BAD_PATH, doc.lockFile, {} };
    PublishPlan plan;
    plan.files = ProjectFiles(doc, request, info);
    SiteFileSizes sizes;
    if (!request.siteFolder.isEmpty()) {
        if (!request.destination.isEmpty()
            && IsInside(RealFolder(request.destination), RealFolder(request.siteFolder)))
            return PlanProblem { IDS_PUBLISH_INTO_SITE, request.destination, request.siteFolder };
        if (std::optional<PlanProblem> problem
            = SiteFiles(request.siteFolder, plan.files, plan.leftOut, &sizes))
            return *problem;
    }
    if (std::optional<PlanProblem> clash = CheckNames(plan.files))
        return *clash;
    if (!doc.areas.empty()) {
        if (!UsesModernBox(request.kind))
            return PlanProblem { IDS_AREAS_NEED_MODERN_BOX, {}, {} };
        bool companions = false;
        if (std::optional<PlanProblem> problem
            = ProtectSiteFiles(doc, plan.files, sizes, companions, info))
            return *problem;
        // Against the names of large pages' sealed content.
        if (std::optional<PlanProblem> clash = companions ? CheckNames(plan.files) : std::nullopt)
            return *clash;
    }
    return plan;
}

bool PublishObserver::Starting(int, int, const PlannedFile&)
{
    return true;
}

PublishObserver::Choice PublishObserver::OnMissing(const PlannedFile&)
{
    return Choice::Stop;
}

PublishObserver::Choice PublishObserver::OnExisting(const PlannedFile&, const QByteArray&)
{
    return Choice::Go;
}

PublishObserver::Choice PublishObserver::OnFailed(const PlannedFile&, const QByteArray&)
{
    return Choice::Stop;
}

void PublishObserver::Done(const PlannedFile&, const QByteArray&, bool) { }

bool PublishObserver::KeepGoing()
{
    return true;
}

bool PublishObserver::LeavesUnchangedFiles() const
{
    return true;
}

PublishOutcome WritePublishPlan(const PublishPlan& plan, const Doc& doc,
    const PublishContent& content, const QByteArray& folder, PublishObserver& observer,
    WrittenFiles* written)
{
    PublishOutcome outcome;
    PlanWriter writer(doc, content, observer, written);
    TransformsAhead ahead(plan.files);
    const int count = int(plan.files.size());
    for (int index = 0; index < count; ++index) {
        const PlannedFile& file = plan.files[index];
        if (!observer.Starting(index, count, file)) {
            outcome.complete = false;
            break;
        }
        const QByteArray destination = folder + file.name;
        Step step = Step::Skipped;
        if (MakeSubfolders(folder, file.name))
            step = writer.Write(file, destination, ahead.Take(index));
        else if (observer.OnFailed(
                     file, FormatResourceText(IDS_COPY_FAILED, file.source, destination))
            == PublishObserver::Choice::Stop)
            step = Step::Stopped;
        if (step == Step::Written || step == Step::Unchanged) {
            (step == Step::Written ? outcome.written : outcome.unchanged) += 1;
            observer.Done(file, destination, step == Step::Written);
            continue;
        }
        outcome.complete = false;
        if (step == Step::Stopped)
            break;
    }
    return outcome;
}

bool WrittenFiles::Holds(const QString& path, const QByteArray& bytes)
{
    const QFileInfo info(path);
    if (!IsFileOfSize(info, bytes.size()))
        return false;
    const auto found = m_records.constFind(path);
    if (found != m_records.constEnd() && found->modified == info.lastModified())
        return found->bytes.constData() == bytes.constData() || found->bytes == bytes;
    if (!ReadsAs(path, bytes))
        return false;
    m_records.insert(path, { bytes, info.lastModified() });
    return true;
}

void WrittenFiles::Note(const QString& path, const QByteArray& bytes)
{
    m_records.insert(path, { bytes, QFileInfo(path).lastModified() });
}

QByteArray MissingSourceMessage(const PlannedFile& file)
{
    if (file.origin == Origin::ConvertedSound)
        return FormatResourceText(IDS_SOUND_MISSING, file.source, file.name);
    return FormatResourceText(IDS_FILE_MISSING, file.source);
}
