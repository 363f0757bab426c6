#include "generate/BoxPage.h"

#include "generate/ModernBox.h"
#include "generate/ResourceList.h"
#include "model/Doc.h"
#include "util/Paths.h"
#include "util/StringIds.h"

namespace {

QByteArray ModernBoxComment(const ProgramInfo& info)
{
    return "<!-- This login box was created by " + info.productName + " Version "
        + info.productVersion + " " + HtmlCommentNotice + ". -->\r\n";
}

// path with its file name replaced by name.
QByteArray BesidePath(const QByteArray& path, const QByteArray& name)
{
    return path.left(path.size() - FileNamePart(path).size()) + name;
}

// A standard page in UTF-8 (the box's element is ASCII whatever the project's texts); a segment
// goes into the user's own page as it is.
QByteArray StandardPage(const QByteArray& page, HtmlPageForm form)
{
    const QByteArray start = "<HTML>\r\n";
    if (form == HtmlPageForm::Segment || !page.startsWith(start))
        return page;
    return "<!DOCTYPE html>\r\n" + start + "<META charset=\"utf-8\">\r\n" + page.mid(start.size());
}

QByteArray BoxPage(const Doc& doc, BoxKind kind, HtmlPageForm form, const QByteArray& lockData,
    const QByteArray& lockScript, const ProgramInfo& info)
{
    if (kind == BoxKind::Classic)
        return BuildHtmlPage(doc, form, info);
    // Joined at once: the large parts (the lock data, the box's script) are copied only into the
    // page.
    AppletPageFrame frame
        = kind == BoxKind::Both ? AppletPageFrameFor(doc, form, info) : PageFrameFor(form, info);
    if (kind == BoxKind::Modern)
        frame.before = StandardPage(frame.before + ModernBoxComment(info), form);
    QByteArrayList parts = ModernBoxParts(doc, form, lockData, lockScript);
    parts.prepend(frame.before);
    parts.append(frame.after);
    return parts.join();
}

} // namespace

QByteArray BuildBoxPage(const Doc& doc, BoxKind kind, HtmlPageForm form, const QByteArray& lockData,
    const ProgramInfo& info)
{
    return BoxPage(doc, kind, form, lockData, {}, info);
}

QByteArray BuildWindowPreviewPage(const Doc& doc, BoxKind kind, const QByteArray& lockData,
    const QByteArray& lockScript, const ProgramInfo& info)
{
    return BoxPage(doc, kind, HtmlPageForm::Preview, lockData, lockScript, info);
}

std::optional<int> ReadableLocksWarning(const Doc& doc, BoxKind kind, bool carriesLocks)
{
    if (!UsesApplet(kind) || !carriesLocks || doc.locks.empty())
        return std::nullopt;
    return doc.ScramblesLocks() ? IDS_APPLET_LOCKS_SCRAMBLED : IDS_APPLET_LOCKS_PLAIN;
}

QList<BoxResource> GetBoxResources(const Doc& doc, BoxKind kind, const ProgramInfo& info)
{
    QList<BoxResource> resources;
    if (UsesApplet(kind)) {
        for (const QByteArray& path : GetResourceList(doc, info))
            resources.append({ BoxResource::Origin::Copied, path, path });
    }
    if (!UsesModernBox(kind))
        return resources;
    // Protected pages fetch the lock data and draw their box with the shared script, whatever
    // the box page does.
    if (doc.ReadsLocksFromFile() || !doc.areas.empty()) {
        const QByteArray path = ModernLockFilePath(doc);
        resources.append({ BoxResource::Origin::LockData, path, path });
    }
    if (!doc.areas.empty()) {
        const QByteArray path = BesidePath(ModernLockFilePath(doc), kMembersBoxScriptName);
        resources.append({ BoxResource::Origin::MembersBoxScript, path, path });
    }
    for (const QByteArray& audio : AudioResources(doc))
        resources.append({ BoxResource::Origin::ConvertedSound,
            BesidePath(audio, ModernSoundName(audio)), audio });
    return resources;
}
