#include "model/SettingsBlock.h"

#include "model/BoxKind.h"
#include "model/MemberSettings.h"
#include "util/JsonValues.h"

#include <QBuffer>
#include <QSet>

#include <algorithm>

namespace {

const QByteArray kMagic = QByteArrayLiteral("ZRNBLK\r\n");
constexpr std::uint16_t kEndTag = 0;
// Tags from here up name settings that a reader must understand to read the project at all.
constexpr std::uint16_t kFirstRequiredTag = 0x8000;

// The kinds by their stored number.
constexpr BoxKind kStoredKinds[] = { BoxKind::Classic, BoxKind::Modern, BoxKind::Both };

// A 32-bit number in member, with its default and the range JSON may give it.
template<std::int32_t Doc::*Member, std::int32_t Default, std::int32_t Low, std::int32_t High>
constexpr BlockSetting NumberSetting(std::uint16_t tag, const char* name)
{
    return {
        tag,
        name,
        [](const Doc& doc) { return doc.*Member == Default; },
        [](Doc& doc) { doc.*Member = Default; },
        [](Doc& doc, ProjectArchive& payload) { payload.Int(doc.*Member); },
        [](const Doc& doc) { return QJsonValue(doc.*Member); },
        [](const QJsonValue& value, const QString& key, Doc& doc, QByteArray& error) {
            double number = 0;
            if (!ReadJsonWhole(value, key, Low, High, number, error))
                return false;
            doc.*Member = static_cast<std::int32_t>(number);
            return true;
        },
        Member,
        { FieldKind::Number, { Low, High } },
    };
}

// A text in member, empty by default.
template<QByteArray Doc::*Member>
constexpr BlockSetting TextSetting(std::uint16_t tag, const char* name)
{
    return {
        tag,
        name,
        [](const Doc& doc) { return (doc.*Member).isEmpty(); },
        [](Doc& doc) { (doc.*Member).clear(); },
        [](Doc& doc, ProjectArchive& payload) { payload.Text(doc.*Member); },
        [](const Doc& doc) { return JsonText(doc.*Member); },
        [](const QJsonValue& value, const QString& key, Doc& doc, QByteArray& error) {
            return ReadJsonText(value, key, doc.*Member, error);
        },
        Member,
    };
}

constexpr BlockSetting BoxKindSetting(std::uint16_t tag, const char* name)
{
    return {
        tag,
        name,
        [](const Doc& doc) { return doc.boxKind == BoxKind::Classic; },
        [](Doc& doc) { doc.boxKind = BoxKind::Classic; },
        [](Doc& doc, ProjectArchive& payload) {
            auto stored = static_cast<std::int32_t>(doc.boxKind);
            payload.Int(stored);
            if (stored < 0 || stored >= std::int32_t(std::size(kStoredKinds)))
                return payload.Fail();
            doc.boxKind = kStoredKinds[stored];
        },
        [](const Doc& doc) { return QJsonValue(QString::fromLatin1(BoxKindName(doc.boxKind))); },
        [](const QJsonValue& value, const QString& key, Doc& doc, QByteArray& error) {
            const std::optional<BoxKind> kind = ParseBoxKind(value.toString().toUtf8());
            if (!value.isString() || !kind) {
                error = JsonQuoted(key) + " must be \"classic\", \"modern\" or \"both\"";
                return false;
            }
            doc.boxKind = *kind;
            return true;
        },
    };
}

} // namespace

// clang-format off
// Ordered by tag; the tag is what the file keeps, so a row's tag never changes.
constexpr BlockSetting BlockSettings[13] = {
    BoxKindSetting(1, "boxKind"),
    NumberSetting<&Doc::iterations, IterationCount::kDefault, IterationCount::kPublishMinimum,
        IterationCount::kMaximum>(2, "iterations"),
    TextSetting<&Doc::siteFolder>(3, "siteFolder"),
    NumberSetting<&Doc::readableLocksNotice, 1, 0, 1>(4, "readableLocksNotice"),
    TextSetting<&Doc::publishFolder>(5, "publishFolder"),
    NumberSetting<&Doc::rememberDays, 0, 0, kMaxRememberDays>(0x212, "rememberDays"),
    DefaultedTextSetting<&Doc::rememberLabel, BoxTextDefault::kRememberLabel>(0x213, "rememberLabel"),
    DefaultedTextSetting<&Doc::logoutLabel, BoxTextDefault::kLogoutLabel>(0x214, "logoutLabel"),
    DefaultedTextSetting<&Doc::noAccessMessage, BoxTextDefault::kNoAccessMessage>(0x215, "noAccessMessage"),
    DefaultedTextSetting<&Doc::insecureMessage, BoxTextDefault::kInsecureMessage>(0x216, "insecureMessage"),
    DefaultedTextSetting<&Doc::loadFailedMessage, BoxTextDefault::kLoadFailedMessage>(0x217, "loadFailedMessage"),
    AreasSetting(0x8210),
    LockAreasSetting(0x8211),
};
// clang-format on

namespace {

constexpr bool TagsAreUnique()
{
    for (std::size_t i = 0; i < std::size(BlockSettings); ++i) {
        if (BlockSettings[i].tag == kEndTag)
            return false;
        for (std::size_t j = 0; j < i; ++j) {
            if (BlockSettings[i].tag == BlockSettings[j].tag)
                return false;
        }
    }
    return true;
}
static_assert(TagsAreUnique(), "every setting of the block needs a tag of its own, and not 0");

const BlockSetting* FindByTag(std::uint16_t tag)
{
    for (const BlockSetting& setting : BlockSettings) {
        if (setting.tag == tag)
            return &setting;
    }
    return nullptr;
}

void StoreRecord(ProjectArchive& archive, std::uint16_t tag, QByteArray payload)
{
    archive.Word(tag);
    archive.Payload(payload);
}

void StoreBlock(Doc& doc, ProjectArchive& archive)
{
    QByteArray magic = kMagic;
    archive.Raw(magic, magic.size());
    for (const BlockSetting& setting : BlockSettings) {
        if (setting.holdsDefault(doc))
            continue;
        QByteArray payload;
        QBuffer device(&payload);
        device.open(QIODevice::WriteOnly);
        ProjectArchive part(device, ProjectArchive::Direction::Store);
        setting.serialize(doc, part);
        if (!part.Finish())
            return archive.Fail();
        StoreRecord(archive, setting.tag, payload);
    }
    StoreRecord(archive, kEndTag, {});
}

// Reads one record's payload into its setting; false when the payload does not hold exactly one
// value the setting can take.
bool LoadPayload(const BlockSetting& setting, Doc& doc, QByteArray& payload, qint64 budget)
{
    QBuffer device(&payload);
    device.open(QIODevice::ReadOnly);
    ProjectArchive part(device, ProjectArchive::Direction::Load, std::max<qint64>(budget, 1));
    setting.serialize(doc, part);
    return part.Ok() && !part.CanHold(1);
}

void LoadBlock(Doc& doc, ProjectArchive& archive)
{
    QSet<std::uint16_t> seen;
    for (;;) {
        std::uint16_t tag = kEndTag;
        QByteArray payload;
        archive.Word(tag);
        archive.Payload(payload);
        if (!archive.Ok())
            return;
        if (tag == kEndTag) {
            if (!payload.isEmpty() || archive.CanHold(1))
                archive.Fail();
            return;
        }
        if (seen.contains(tag))
            return archive.Fail();
        seen.insert(tag);
        const BlockSetting* setting = FindByTag(tag);
        if (!setting) {
            if (tag >= kFirstRequiredTag)
                return archive.Fail();
            continue;
        }
        if (!LoadPayload(*setting, doc, payload, archive.MemoryLeft()))
            return archive.Fail();
    }
}

} // namespace

const BlockSetting* FindBlockSetting(const QString& name)
{
    for (const BlockSetting& setting : BlockSettings) {
        if (setting.name && name == QLatin1String(setting.name))
            return &setting;
    }
    return nullptr;
}

void ResetBlockSettings(Doc& doc)
{
    for (const BlockSetting& setting : BlockSettings)
        setting.reset(doc);
}

void SerializeSettingsBlock(Doc& doc, ProjectArchive& archive)
{
    if (!archive.Ok())
        return;
    if (archive.IsStoring()) {
        for (const BlockSetting& setting : BlockSettings) {
            if (!setting.holdsDefault(doc))
                return StoreBlock(doc, archive);
        }
        return;
    }
    // Bytes after the locks were always ignored; only the magic says that a block follows, and
    // the start of the magic alone is a block cut short.
    qsizetype size = kMagic.size();
    while (size > 0 && !archive.CanHold(size))
        --size;
    if (size == 0)
        return;
    QByteArray magic;
    archive.Raw(magic, size);
    if (magic == kMagic)
        LoadBlock(doc, archive);
    else if (size < kMagic.size() && kMagic.startsWith(magic))
        archive.Fail();
}
