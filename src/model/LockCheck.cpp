#include "model/LockCheck.h"

#include "model/Doc.h"
#include "model/DocFields.h"
#include "util/ResourceText.h"
#include "util/StringIds.h"

#include <algorithm>

namespace {

bool IsControl(char ch)
{
    const auto code = static_cast<unsigned char>(ch);
    return code < 0x20 || code == 0x7F;
}

bool Unreadable(const QByteArray& text, bool mayHoldSeparator)
{
    return std::any_of(text.begin(), text.end(),
        [mayHoldSeparator](char ch) { return IsControl(ch) || (ch == '|' && !mayHoldSeparator); });
}

} // namespace

const LockField* UnreadableField(const LockEntry& lock)
{
    for (const LockField& field : LockFields) {
        if (Unreadable(lock.*field.member, field.mayHoldSeparator))
            return &field;
    }
    return nullptr;
}

std::optional<UnreadableLock> FindUnreadableLock(const Doc& doc)
{
    for (std::size_t i = 0; i < doc.locks.size(); ++i) {
        if (const LockField* field = UnreadableField(doc.locks[i]))
            return UnreadableLock { i, field };
    }
    return std::nullopt;
}

QByteArray UnreadableLockMessage(const Doc& doc, const UnreadableLock& problem)
{
    const QByteArray& userId = doc.locks[problem.index].userId;
    QByteArray name = QByteArray::number(qulonglong(problem.index + 1));
    if (!userId.isEmpty() && !Unreadable(userId, true))
        name += " (\"" + userId + "\")";
    return FormatResourceText(IDS_UNREADABLE_LOCK, name, problem.field->label);
}
