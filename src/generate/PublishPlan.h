#pragma once

#include "model/BoxKind.h"
#include "util/ProgramInfo.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QDateTime>
#include <QHash>
#include <QList>

#include <functional>
#include <optional>
#include <variant>

class Doc;

// One publish, decided whole before anything is written: every file the site needs, its name in
// the folder it is published into and where its bytes come from. The command line's publish, the
// browser preview, the Resources dialog's Copy Locally and Publish to Folder all make their plan
// here and write it with WritePublishPlan; they differ only in how they ask and where they write.

struct PlannedFile
{
    enum class Origin {
        Page, // the generated page
        LockInputFile, // the applet's lock input file, built from the project
        LockData, // the modern box's lock data
        MembersBoxScript, // the script of protected pages' boxes, the same for every project
        LockDataScript, // the script that hands the window's preview page its lock data
        ConvertedSound, // a wave file converted from the Sun audio file source
        Copied, // the applet's class file or a Sun audio file, copied as it is
        SiteFile, // a file of the site folder, copied or passed through transform
        SealedPageContent, // a large protected site page's sealed content, published beside it
    };

    Origin origin = Origin::Copied;
    // Where it goes, relative to the publish folder, with '/' between folders.
    QByteArray name;
    // The file read for it, as the project names it; for what is built from the project, the path
    // the project knows it by (the HTML file, the lock file), which nothing reads.
    QByteArray source;
    // Site files and sealed page content only. Empty: the file is copied as it is. Otherwise the
    // file's bytes pass through it and what it returns is written; nothing fails that file (as a
    // failed copy).
    std::function<std::optional<QByteArray>(const QByteArray& bytes)> transform;
};

// A site folder entry that is not published, and why: a string-table message naming path.
struct PlanNote
{
    int messageId = 0;
    QByteArray path;
};

struct PublishPlan
{
    QList<PlannedFile> files;
    QList<PlanNote> leftOut;
};

// What stops a publish before anything is written: a string-table message and the one or two
// paths it names (two files with one name, a site folder that cannot be read, a destination
// inside the site folder).
struct PlanProblem
{
    int messageId = 0;
    QByteArray first;
    QByteArray second;
};

struct PlanRequest
{
    BoxKind kind = BoxKind::Classic;
    // The site folder, absolute, or empty for none.
    QByteArray siteFolder;
    // The folder the plan will be written into, refused when it is the site folder or inside it;
    // empty when the caller has not chosen it yet.
    QByteArray destination;
    // The page's file name; empty for PublishedPageName.
    QByteArray pageName;
    // For the window's preview, whose modern box takes its lock data from a script beside the page
    // (LockDataScript): the script's file name. Empty when the page carries its lock data.
    QByteArray lockDataScriptName {};
};

// The page's file name in the published folder: that of the project's HTML file, index.html
// when it has none.
QByteArray PublishedPageName(const Doc& doc);

// The project's site folder made absolute: a relative one lies beside the project file (or in
// the current folder while the project has no file). Empty when the project has none.
QByteArray ResolveSiteFolder(const Doc& doc, const QByteArray& projectPath);
// The same for a site folder not yet in the project (as a page holds it while it is edited).
QByteArray ResolveSiteFolder(const QByteArray& siteFolder, const QByteArray& projectPath);

// The paths, relative to the (absolute) site folder with '/' between folders, of the files a
// publish takes from it, sorted; nothing when the folder cannot be published (it is missing, or
// something in it cannot be read).
std::optional<QByteArrayList> ListSiteFiles(const QByteArray& siteFolder);

// The plan for doc's page of the request's kind: the page, the lock input file where the applet
// reads one, the lock data file where the modern box fetches its locks, the shared script of
// protected pages where the project has member areas, the sounds (copied for
// the applet, converted for the modern box), the applet's class file where the applet is used,
// then the site folder's files under their paths inside it, sorted, each large protected page
// after the file of its sealed content (MemberSite.h). Links inside the site folder
// are followed to files inside it only; links out of it, links to folders, devices, pipes and
// sockets are left out with a note and never read. Every name is checked against every other
// (also a file named like another's folder) before the plan is handed out.
std::variant<PublishPlan, PlanProblem> MakePublishPlan(
    const Doc& doc, const PlanRequest& request, const ProgramInfo& info = CurrentProgramInfo());

// How a publish asks about a problem file and tells what it did; the window asks with prompts,
// the command line answers for itself. The defaults replace what is there and stop at the first
// failure.
class PublishObserver
{
public:
    enum class Choice {
        Go, // retry, or replace
        Skip, // leave this file and go on; the publish is incomplete
        Stop, // end the publish here; the publish is incomplete
    };

    virtual ~PublishObserver() = default;

    // Before file index (of count) is written; false stops the publish.
    virtual bool Starting(int index, int count, const PlannedFile& file);
    // A source to copy or convert is missing or is not a regular file.
    virtual Choice OnMissing(const PlannedFile& file);
    // Something other than an up-to-date copy is at destination.
    virtual Choice OnExisting(const PlannedFile& file, const QByteArray& destination);
    // The file could not be made: message names it (and its source).
    virtual Choice OnFailed(const PlannedFile& file, const QByteArray& message);
    // A file written (true), or left alone because the folder already holds it (false).
    virtual void Done(const PlannedFile& file, const QByteArray& destination, bool written);
    // Asked between the pieces of a large copy; false stops it, leaving the destination as it was.
    virtual bool KeepGoing();
    // Whether a file the folder already holds as it would be written (a copy made since its source
    // last changed, a made file with the same bytes) is left alone without asking; otherwise every
    // file already there goes through OnExisting.
    virtual bool LeavesUnchangedFiles() const;
};

// The message for a file whose source is missing: the Sun audio file the user chose, and the
// wave file it becomes, for a converted sound; the source for any other.
QByteArray MissingSourceMessage(const PlannedFile& file);

// The page and lock data made for this publish, and the script made from the lock data where the
// plan has one.
struct PublishContent
{
    QByteArray page;
    QByteArray lockData;
    QByteArray lockDataScript {};
};

// What a writer last put into the made files of a folder it writes again and again (the preview
// folder): whether a file still holds given bytes is then known without reading it back, as long as
// its size and time are as the writer left them.
class WrittenFiles
{
public:
    // Whether the file at path (no link) holds bytes; one read to find out is noted too.
    bool Holds(const QString& path, const QByteArray& bytes);
    // Notes that the file at path now holds bytes.
    void Note(const QString& path, const QByteArray& bytes);

private:
    struct Record
    {
        QByteArray bytes;
        QDateTime modified;
    };
    QHash<QString, Record> m_records;
};

struct PublishOutcome
{
    // Every file written or found unchanged.
    bool complete = true;
    int written = 0;
    int unchanged = 0;
};

// Writes the plan into folder (ending in '/'), making the subfolders site files need. Everything
// goes through the link-safe writers: a link at a destination is replaced, never written
// through. A copy or converted sound whose destination was made since its source last changed, and
// a made file whose destination holds the same bytes, is unchanged and left alone where the
// observer says so. With written, what the folder holds is looked up there before it is read, and
// what is written is noted there.
PublishOutcome WritePublishPlan(const PublishPlan& plan, const Doc& doc,
    const PublishContent& content, const QByteArray& folder, PublishObserver& observer,
    WrittenFiles* written = nullptr);
