#include "model/BoxReferences.h"

#include "model/Doc.h"
#include "model/LockCheck.h"
#include "util/Paths.h"
#include "util/ResourceText.h"
#include "util/StringIds.h"

#include <QByteArrayView>

#include <algorithm>

namespace {

bool IsAsciiLetter(char ch)
{
    return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z');
}

bool IsSchemeCharacter(char ch)
{
    return IsAsciiLetter(ch) || (ch >= '0' && ch <= '9') || ch == '+' || ch == '-' || ch == '.';
}

// The address as a browser's URL parser first cleans it.
QByteArray Cleaned(const QByteArray& address)
{
    qsizetype begin = 0;
    qsizetype end = address.size();
    while (begin < end && static_cast<unsigned char>(address[begin]) <= 0x20)
        ++begin;
    while (end > begin && static_cast<unsigned char>(address[end - 1]) <= 0x20)
        --end;
    QByteArray cleaned = address.mid(begin, end - begin);
    cleaned.removeIf([](char ch) { return ch == '\t' || ch == '\n' || ch == '\r'; });
    return cleaned;
}

} // namespace

bool IsWebAddress(const QByteArray& address)
{
    const QByteArray cleaned = Cleaned(address);
    if (cleaned.isEmpty() || !IsAsciiLetter(cleaned[0]))
        return true;
    qsizetype i = 1;
    while (i < cleaned.size() && IsSchemeCharacter(cleaned[i]))
        ++i;
    if (i == cleaned.size() || cleaned[i] != ':')
        return true;
    const QByteArray scheme = cleaned.left(i).toLower();
    return scheme == "http" || scheme == "https";
}

bool IsPlainFileName(const QByteArray& name)
{
    return !name.isEmpty() && name != "." && name != ".."
        && !std::any_of(name.begin(), name.end(),
            [](char ch) { return QByteArrayView("/\\:?#%").contains(ch); });
}

std::optional<QByteArray> WebAddressRefusal(const QByteArray& address)
{
    if (IsWebAddress(address))
        return std::nullopt;
    return FormatResourceText(IDS_NOT_WEB_ADDRESS, address);
}

std::optional<QByteArray> FileNameRefusal(const QByteArray& path)
{
    const QByteArray name = FileNamePart(path);
    if (path.isEmpty() || IsPlainFileName(name))
        return std::nullopt;
    return FormatResourceText(IDS_NOT_PLAIN_FILE_NAME, name.isEmpty() ? path : name);
}

std::optional<std::size_t> FindLockNotWebAddress(const Doc& doc)
{
    for (std::size_t i = 0; i < doc.locks.size(); ++i) {
        if (!IsWebAddress(doc.locks[i].url))
            return i;
    }
    return std::nullopt;
}

std::optional<QByteArray> ModernBoxRefusal(const Doc& doc)
{
    return ModernBoxRefusal(doc, FindLockNotWebAddress(doc));
}

std::optional<QByteArray> ModernBoxRefusal(
    const Doc& doc, std::optional<std::size_t> lockNotWebAddress)
{
    if (lockNotWebAddress) {
        const std::size_t i = *lockNotWebAddress;
        return FormatResourceText(IDS_LOCK_NOT_WEB_ADDRESS, LockName(doc, i), doc.locks[i].url);
    }
    if (!IsWebAddress(doc.failUrl))
        return FormatResourceText(IDS_FAIL_URL_NOT_WEB_ADDRESS, doc.failUrl);
    if (doc.ReadsLocksFromFile() && !IsPlainFileName(FileNamePart(doc.lockFile)))
        return FormatResourceText(IDS_NOT_PLAIN_FILE_NAME, doc.lockFile);
    for (const QByteArray* audio : { &doc.correctAudio, &doc.incorrectAudio }) {
        if (std::optional<QByteArray> refusal = FileNameRefusal(*audio))
            return refusal;
    }
    return std::nullopt;
}
