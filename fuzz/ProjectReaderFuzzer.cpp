#include "generate/LockLines.h"
#include "model/Doc.h"
#include "model/ProjectFile.h"

#include <QBuffer>

#include <cstdint>
#include <cstdlib>

namespace {

QByteArray Written(Doc& doc)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (!WriteProject(doc, buffer))
        std::abort();
    return buffer.data();
}

// Well below the fuzzer's allocation limit, so that a read that allocates beyond its budget is
// caught.
constexpr qint64 MemoryBudget = qint64(256) << 20;

bool Read(Doc& doc, const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return ReadProject(doc, buffer, MemoryBudget);
}

} // namespace

// Any input must read without crashing. A failed read must leave the project as it was (here the
// defaults); a project that reads must write, read back and write again to the same bytes.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const QByteArray defaults = [] {
        Doc doc;
        return Written(doc);
    }();

    Doc doc;
    if (!Read(doc, QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)))) {
        if (Written(doc) != defaults)
            std::abort();
        return 0;
    }
    const QByteArray first = Written(doc);
    Doc again;
    if (!Read(again, first) || Written(again) != first)
        std::abort();
    BuildLockLines(doc, false);
    doc.encrypt = 1;
    BuildLockLines(doc, true);
    return 0;
}
