#include "model/Doc.h"

#include "model/DocFields.h"
#include "model/LockRecords.h"
#include "model/ProjectArchive.h"
#include "model/SettingsBlock.h"
#include "util/HugePages.h"
#include "util/Overloaded.h"
#include "util/ProgramInfo.h"

#include <atomic>
#include <iterator>

Doc::Doc()
{
    ResetProject();
}

void Doc::ResetProject()
{
    locks.clear();
    LocksChanged();
    for (const DocField& field : DocFields)
        ResetField(*this, field);
    ResetBlockSettings(*this);
}

void Doc::LocksChanged()
{
    static std::atomic<std::uint64_t> lastStamp { 0 };
    m_locksStamp = ++lastStamp;
}

bool Doc::ReadsLocksFromFile() const
{
    return FlagIsOn(*this, FieldOf(&Doc::readLocksFromFile));
}

bool Doc::ScramblesLocks() const
{
    return FlagIsOn(*this, FieldOf(&Doc::encrypt));
}

bool Doc::IgnoresCase() const
{
    return FlagIsOn(*this, FieldOf(&Doc::ignoreCase));
}

void Doc::Serialize(ProjectArchive& archive)
{
    // The writer's version and build head the file; a reader drops them.
    QByteArray productVersion = CurrentProgramInfo().productVersion;
    QByteArray privateBuild = CurrentProgramInfo().privateBuild;
    archive.Text(productVersion);
    archive.Text(privateBuild);

    for (const DocField& field : DocFields) {
        std::visit(Overloaded {
                       [&](QByteArray Doc::*text) { archive.Text(this->*text); },
                       [&](std::int32_t Doc::*number) { archive.Int(this->*number); },
                       [&](Colour Doc::*colour) { archive.Rgb(this->*colour); },
                   },
            field.member);
    }

    SerializeLocks(archive);
    SerializeSettingsBlock(*this, archive);
}

void Doc::SerializeLocks(ProjectArchive& archive)
{
    auto count = static_cast<std::int32_t>(locks.size());
    archive.Int(count);
    if (archive.IsStoring()) {
        for (LockEntry& lock : locks)
            lock.Serialize(archive);
        return;
    }
    LocksChanged();
    // A negative count reads no locks. The count comes from the file: the records are found, and
    // what they take charged, before room is made for them.
    const std::vector<QByteArrayView> parts
        = archive.TakeRecords(count, std::size(LockFields), sizeof(LockEntry), kLockRecordsPerPart);
    if (parts.empty())
        return;
    locks.clear();
    // Filled at once: huge pages save most of its page faults.
    locks.reserve(count);
    AdviseHugePages(locks.data(), count * sizeof(LockEntry));
    locks.resize(count);
    ReadLockRecords(parts, locks);
}
