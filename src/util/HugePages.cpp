#include "util/HugePages.h"

#include <sys/mman.h>
#include <unistd.h>

namespace {

constexpr quintptr kHugePageSize = quintptr(2) << 20;

} // namespace

void AdviseHugePages(const void* data, qsizetype size)
{
    if (size < qsizetype(kHugePageSize))
        return;
    // Only whole pages of the block itself, not those it shares with its neighbours.
    const auto pageSize = quintptr(sysconf(_SC_PAGESIZE));
    const quintptr first = (quintptr(data) + pageSize - 1) & ~(pageSize - 1);
    const quintptr end = (quintptr(data) + quintptr(size)) & ~(pageSize - 1);
    if (end > first)
        madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
}
