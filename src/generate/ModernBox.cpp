#include "generate/ModernBox.h"

#include "model/BoxKind.h"
#include "model/Doc.h"
#include "model/DocFields.h"
#include "util/AddressVersion.h"
#include "util/Overloaded.h"
#include "util/Paths.h"
#include "util/SecretText.h"
#include "util/TextEncoding.h"

#include <QCryptographicHash>
#include <QFile>

#include <map>

namespace {

// The box's style and script, compiled into the program, with the page's CR LF line ends.
QByteArray BoxResource(const char* path)
{
    QFile file(QString::fromLatin1(path));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing resource %s", path);
    return file.readAll().replace("\r\n", "\n").replace("\n", "\r\n");
}

const QByteArray& BoxStyle()
{
    static const QByteArray style = BoxResource(":/modernbox/box.css");
    return style;
}

// The script carries the program's own upper-case table, so that both fold case alike.
QByteArray ScriptWithUpperCaseTable()
{
    const QByteArray placeholder = "/* upper-case table */ null";
    QByteArray script = BoxResource(":/modernbox/box.js");
    if (!script.contains(placeholder))
        qFatal("the box's script has no place for the upper-case table");
    return script.replace(placeholder, FrozenUpperCaseJson());
}

const QByteArray& BoxScript()
{
    static const QByteArray script = ScriptWithUpperCaseTable();
    return script;
}

const QByteArray& MembersScript()
{
    static const QByteArray script = BoxResource(":/modernbox/members.js");
    return script;
}

QString Text(const QByteArray& bytes)
{
    return DecodeProjectText(bytes);
}

// A JSON string that may sit in a script element of a page of any encoding: every character
// outside printable ASCII, and "<", ">" and "&", is written as a \u escape.
QByteArray JsonText(const QString& text)
{
    QByteArray json;
    json.reserve(text.size() + 2);
    json += '"';
    for (const QChar ch : text) {
        const char16_t code = ch.unicode();
        switch (code) {
        case '"':
            json += "\\\"";
            break;
        case '\\':
            json += "\\\\";
            break;
        case '\b':
            json += "\\b";
            break;
        case '\f':
            json += "\\f";
            break;
        case '\n':
            json += "\\n";
            break;
        case '\r':
            json += "\\r";
            break;
        case '\t':
            json += "\\t";
            break;
        default:
            if (code >= 0x20 && code < 0x7F && code != '<' && code != '>' && code != '&')
                json += char(code);
            else
                json += "\\u" + QByteArray::number(code, 16).rightJustified(4, '0');
        }
    }
    json += '"';
    return json;
}

QByteArray JsonText(const QByteArray& bytes)
{
    return JsonText(Text(bytes));
}

QByteArray JsonRgb(Colour colour)
{
    return '[' + QByteArray::number(RedOf(colour)) + ',' + QByteArray::number(GreenOf(colour)) + ','
        + QByteArray::number(BlueOf(colour)) + ']';
}

QByteArray JsonFlag(bool on)
{
    return on ? "true" : "false";
}

QByteArray SoundName(const QByteArray& audioPath)
{
    return audioPath.isEmpty() ? QByteArray() : ModernSoundName(audioPath);
}

// The field as the box's settings hold it, in JSON.
QByteArray BoxValueOf(const Doc& doc, const DocField& field)
{
    if (field.box.value == BoxValue::SoundName)
        return JsonText(SoundName(doc.*std::get<QByteArray Doc::*>(field.member)));
    if (field.control.kind == FieldKind::Flag || field.control.kind == FieldKind::FlagAtOne)
        return JsonFlag(FlagIsOn(doc, field));
    return std::visit(
        Overloaded {
            [&](QByteArray Doc::*text) { return JsonText(doc.*text); },
            [&](std::int32_t Doc::*number) { return QByteArray::number(doc.*number); },
            [&](Colour Doc::*colour) { return JsonRgb(doc.*colour); },
        },
        field.member);
}

// Whether lock data made with fewer iterations than any published page may use is carried: such a
// page is for this computer only.
bool BelowPublishCount(const QByteArray& lockData)
{
    const QByteArray key = "\"iterations\":";
    const qsizetype at = lockData.indexOf(key);
    if (at < 0)
        return false;
    qsizetype end = at + key.size();
    while (end < lockData.size() && lockData[end] >= '0' && lockData[end] <= '9')
        ++end;
    const qsizetype digits = end - at - key.size();
    return digits > 0
        && lockData.mid(at + key.size(), digits).toLongLong() < IterationCount::kPublishMinimum;
}

// The box's settings: a compact JSON object with its members sorted by key, written straight
// from the project (a page is made again at every refresh of the preview).
QByteArray BoxSettings(
    const Doc& doc, HtmlPageForm form, const QByteArray& lockData, const QByteArray& siteRoot)
{
    std::map<QByteArray, QByteArray> settings;
    for (const DocField& field : DocFields) {
        if (field.box.value != BoxValue::None)
            settings[field.box.key ? field.box.key : field.name] = BoxValueOf(doc, field);
    }
    settings["insecureMessage"] = JsonText(doc.insecureMessage);
    settings["loadFailedMessage"] = JsonText(doc.loadFailedMessage);
    if (!doc.areas.empty()) {
        settings["noAccessMessage"] = JsonText(doc.noAccessMessage);
        settings["rememberLabel"] = JsonText(doc.rememberLabel);
        settings["logoutLabel"] = JsonText(doc.logoutLabel);
        settings["rememberDays"] = QByteArray::number(doc.rememberDays);
    }
    if (!siteRoot.isEmpty())
        settings["siteRoot"] = JsonText(siteRoot);
    if (ModernBoxFetchesLocks(doc, form) || !siteRoot.isEmpty())
        settings["lockFile"] = JsonText(ModernLockFileName(doc));
    if (form == HtmlPageForm::Preview && BelowPublishCount(lockData))
        settings["previewOnly"] = JsonFlag(true);
    QByteArray json = "{";
    for (const auto& [key, value] : settings)
        json += (json.size() > 1 ? ",\"" : "\"") + key + "\":" + value;
    return json + '}';
}

// name with its extension, if any, replaced: "lock.txt" gives "lock" + extension.
QByteArray WithExtension(const QByteArray& name, const char* extension)
{
    const qsizetype dot = name.lastIndexOf('.');
    return (dot > 0 ? name.left(dot) : name) + extension;
}

} // namespace

bool ModernBoxFetchesLocks(const Doc& doc, HtmlPageForm form)
{
    return doc.ReadsLocksFromFile() && form != HtmlPageForm::Preview;
}

QByteArray ModernLockFilePath(const Doc& doc)
{
    return LockDataPathBeside(doc.lockFile);
}

QByteArray LockDataPathBeside(const QByteArray& lockFilePath)
{
    const QByteArray name = FileNamePart(lockFilePath);
    return lockFilePath.left(lockFilePath.size() - name.size()) + WithExtension(name, ".json");
}

QByteArray ModernLockFileName(const Doc& doc)
{
    return WithExtension(FileNamePart(doc.lockFile), ".json");
}

QByteArray ModernSoundName(const QByteArray& audioPath)
{
    return WithExtension(FileNamePart(audioPath), ".wav");
}

namespace {

QByteArray BoxStart(const Doc& doc)
{
    return "<div class=\"zarnith-box\" style=\"width:" + QByteArray::number(doc.width)
        + "px;height:" + QByteArray::number(doc.height) + "px\">\r\n";
}

// siteRoot (a protected page's way up to the site folder, "./" at its top) makes the box fetch
// its locks from there, whatever the project says.
QByteArray SettingsElement(
    const Doc& doc, HtmlPageForm form, const QByteArray& lockData, const QByteArray& siteRoot)
{
    return "<script type=\"application/json\" class=\"zarnith-settings\">"
        + BoxSettings(doc, form, lockData, siteRoot) + "</script>\r\n";
}

const char kBoxEnd[] = "<noscript>This login box needs JavaScript.</noscript>\r\n</div>\r\n";

QByteArray MakeMembersBoxScript()
{
    // The style goes first into the box, where a box page's own box holds it.
    return "(function (box) {\r\n  var style = document.createElement('style');\r\n"
           "  style.textContent = "
        + JsonText(QString::fromLatin1(BoxStyle()))
        + ";\r\n  box.insertBefore(style, box.firstChild);\r\n"
          "})(document.currentScript.parentElement);\r\n"
        + MembersScript() + BoxScript();
}

// Part of the shared script's address: a browser holding an older script under the same name
// fetches this one.
const QByteArray& MembersBoxScriptVersion()
{
    static const QByteArray version
        = QCryptographicHash::hash(MembersBoxScript(), QCryptographicHash::Sha256)
              .toHex()
              .left(kAddressVersionDigits);
    return version;
}

} // namespace

QByteArrayList ModernBoxParts(
    const Doc& doc, HtmlPageForm form, const QByteArray& lockData, const QByteArray& lockScript)
{
    QByteArrayList parts { BoxStart(doc) + "<style>\r\n", BoxStyle(),
        "</style>\r\n" + SettingsElement(doc, form, lockData, {}) };
    if (!ModernBoxFetchesLocks(doc, form)) {
        const QByteArray element = "<script type=\"application/json\" class=\"zarnith-locks\">";
        if (lockScript.isEmpty())
            parts << element << lockData << "</script>\r\n";
        else
            parts << element + "</script>\r\n<script src=\"" + lockScript + "\"></script>\r\n";
    }
    if (!doc.areas.empty())
        parts << "<script>\r\n" << MembersScript() << "</script>\r\n";
    parts << "<script>\r\n" << BoxScript() << "</script>\r\n" << kBoxEnd;
    return parts;
}

QByteArray LockDataScript(const QByteArray& lockData)
{
    // A JSON string is a script's string literal.
    return "document.currentScript.parentElement.querySelector('script.zarnith-locks').textContent"
           " = "
        + JsonText(QString::fromLatin1(lockData)) + ";\r\n";
}

QByteArray BuildModernBox(const Doc& doc, HtmlPageForm form, const QByteArray& lockData)
{
    return ModernBoxParts(doc, form, lockData).join();
}

const QByteArray& MembersBoxScript()
{
    static const QByteArray script = MakeMembersBoxScript();
    return script;
}

QByteArray BuildProtectedPageBox(const Doc& doc, const QByteArray& siteRoot)
{
    const QByteArray root = siteRoot.isEmpty() ? QByteArray("./") : siteRoot;
    return BoxStart(doc) + SettingsElement(doc, HtmlPageForm::File, {}, root)
        + "<script defer src=\"" + root + kMembersBoxScriptName + "?v=" + MembersBoxScriptVersion()
        + "\"></script>\r\n" + kBoxEnd;
}
