#include "model/LockCheck.h"

#include "model/Doc.h"
#include "model/DocFields.h"
#include "util/ResourceText.h"
#include "util/SecretText.h"
#include "util/StringIds.h"
#include "util/TextEncoding.h"

#include <QList>

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

bool IsShortPassword(const QByteArray& password)
{
    // Counted as the box compares it: "é" typed as e and an accent is one character.
    return SecretTextForm(DecodeProjectText(password), false).toUcs4().size()
        < kShortPasswordLength;
}

int CountShortPasswords(const Doc& doc)
{
    return int(std::count_if(doc.locks.begin(), doc.locks.end(),
        [](const LockEntry& lock) { return IsShortPassword(lock.password); }));
}

QByteArray LockName(const Doc& doc, std::size_t index)
{
    const QByteArray& userId = doc.locks[index].userId;
    QByteArray name = QByteArray::number(qulonglong(index + 1));
    if (!userId.isEmpty() && !Unreadable(userId, true))
        name += " (\"" + userId + "\")";
    return name;
}

QByteArray UnreadableLockMessage(const Doc& doc, const UnreadableLock& problem)
{
    return FormatResourceText(
        IDS_UNREADABLE_LOCK, LockName(doc, problem.index), problem.field->label);
}
