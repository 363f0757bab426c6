#include "model/Doc.h"

#include "model/DocFields.h"
#include "model/ProjectArchive.h"
#include "util/Overloaded.h"
#include "util/ProgramInfo.h"

#include <algorithm>

namespace {

// The smallest a lock record can be in the file: four empty texts.
constexpr qint64 SmallestLockRecord = 4;

} // namespace

Doc::Doc()
{
    ResetProject();
}

void Doc::ResetProject()
{
    locks.clear();
    for (const DocField& field : DocFields)
        ResetField(*this, field);
}

bool Doc::ReadsLocksFromFile() const
{
    return FlagIsOn(*this, FieldOf(&Doc::readLocksFromFile));
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

    auto count = static_cast<std::int32_t>(locks.size());
    archive.Int(count);
    if (archive.IsStoring()) {
        for (LockEntry& lock : locks)
            lock.Serialize(archive);
        return;
    }
    // The count comes from the file: it sizes the table only as far as the data can back it.
    if (const std::optional<qint64> remaining = archive.RemainingBytes(); count > 0 && remaining)
        locks.reserve(std::min<qint64>(count, *remaining / SmallestLockRecord));
    for (std::int32_t i = 0; i < count && archive.Ok(); ++i) {
        locks.emplace_back().Serialize(archive);
        if (!archive.Ok())
            locks.pop_back();
    }
}
