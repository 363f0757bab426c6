#pragma once

#include <QtGlobal>

// Asks the system to back the pages of [data, data + size) with huge pages once they are touched,
// where it offers them: a large block filled at once then costs a few page faults instead of one
// for every 4 KB. A hint only; small blocks are left alone.
void AdviseHugePages(const void* data, qsizetype size);
