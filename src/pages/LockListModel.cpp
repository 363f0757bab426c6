#include "pages/LockListModel.h"

#include "framework/ResourceString.h"
#include "model/Doc.h"
#include "util/StringIds.h"
#include "util/TextEncoding.h"

#include <algorithm>
#include <future>
#include <numeric>
#include <thread>

namespace {

// ASCII letters in lower case, every other byte as it is.
struct AsciiLowerTable
{
    unsigned char lower[256];

    constexpr AsciiLowerTable()
        : lower()
    {
        for (int byte = 0; byte < 256; ++byte)
            lower[byte] = (byte >= 'A' && byte <= 'Z') ? byte + ('a' - 'A') : byte;
    }
};

constexpr AsciiLowerTable kAsciiLower;

// Whether text holds needle (ASCII in lower case), ignoring the case of ASCII letters. Byte by
// byte, with no decoding: a million locks are searched at a key press. Lock texts are short, so
// one pass over them costs less than looking for the first byte in either case with memchr.
bool ContainsAscii(const QByteArray& text, const QByteArray& needle)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.constData());
    const auto* wanted = reinterpret_cast<const unsigned char*>(needle.constData());
    const qsizetype length = needle.size();
    if (text.size() < length)
        return false;
    const unsigned char* const end = bytes + (text.size() - length) + 1;
    for (const unsigned char* at = bytes; at < end; ++at) {
        if (kAsciiLower.lower[*at] != wanted[0])
            continue;
        qsizetype i = 1;
        while (i < length && kAsciiLower.lower[at[i]] == wanted[i])
            ++i;
        if (i == length)
            return true;
    }
    return false;
}

QString ShownText(const QByteArray& text)
{
    return QString::fromLocal8Bit(text);
}

} // namespace

LockListModel::LockListModel(Doc& doc, const QIcon& lockIcon, QObject* parent)
    : QAbstractTableModel(parent)
    , m_doc(doc)
    , m_lockIcon(lockIcon)
{
}

int LockListModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid())
        return 0;
    return int(IsFiltered() ? m_rows.size() : m_doc.locks.size());
}

int LockListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant LockListModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const LockEntry& lock = Lock(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        switch (index.column()) {
        case kUser:
            return ShownText(lock.userId);
        case kPassword:
            return ShownText(lock.password);
        case kUrl:
            return ShownText(lock.url);
        default:
            return ShownText(lock.target);
        }
    case Qt::DecorationRole:
        return index.column() == kUser ? QVariant(m_lockIcon) : QVariant();
    case Qt::BackgroundRole:
        return index.row() == m_dropTarget ? QVariant(m_dropBackground) : QVariant();
    case Qt::ForegroundRole:
        return index.row() == m_dropTarget ? QVariant(m_dropText) : QVariant();
    default:
        return {};
    }
}

QVariant LockListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    static const QStringList titles = ResourceStringLines(IDS_LOCK_COLUMNS);
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0
        || section >= kColumnCount)
        return {};
    return titles.value(section);
}

Qt::ItemFlags LockListModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

bool LockListModel::moveRows(const QModelIndex& sourceParent, int sourceRow, int count,
    const QModelIndex& destinationParent, int destinationChild)
{
    const int rows = rowCount();
    if (sourceParent.isValid() || destinationParent.isValid() || count != 1 || sourceRow < 0
        || sourceRow >= rows || destinationChild < 0 || destinationChild > rows
        || destinationChild == sourceRow || destinationChild == sourceRow + 1)
        return false;
    const std::size_t from = LockIndex(sourceRow);
    // Before the lock shown at the destination; below the last row, after the last lock shown.
    const std::size_t before = destinationChild < rows ? LockIndex(destinationChild)
        : IsFiltered()                                 ? m_rows.back() + 1
                                                       : m_doc.locks.size();
    const std::size_t to = before > from ? before - 1 : before;
    beginMoveRows({}, sourceRow, sourceRow, {}, destinationChild);
    std::vector<LockEntry>& locks = m_doc.locks;
    if (from < to)
        std::rotate(locks.begin() + from, locks.begin() + from + 1, locks.begin() + to + 1);
    else
        std::rotate(locks.begin() + to, locks.begin() + from, locks.begin() + from + 1);
    if (IsFiltered()) {
        // Every lock between the two places moved by one towards the old place.
        for (std::size_t& index : m_rows) {
            if (index == from)
                index = to;
            else if (from < to && index > from && index <= to)
                --index;
            else if (to < from && index >= to && index < from)
                ++index;
        }
        std::sort(m_rows.begin(), m_rows.end());
    }
    endMoveRows();
    LocksChanged();
    return true;
}

bool LockListModel::removeRows(int row, int count, const QModelIndex& parent)
{
    if (parent.isValid() || count != 1 || row < 0 || row >= rowCount())
        return false;
    const std::size_t index = LockIndex(row);
    beginRemoveRows({}, row, row);
    m_doc.locks.erase(m_doc.locks.begin() + index);
    if (IsFiltered()) {
        m_rows.erase(m_rows.begin() + row);
        for (auto later = m_rows.begin() + row; later != m_rows.end(); ++later)
            --*later;
    }
    if (m_dropTarget == row)
        m_dropTarget = -1;
    endRemoveRows();
    LocksChanged();
    return true;
}

const LockEntry& LockListModel::Lock(int row) const
{
    return m_doc.locks[LockIndex(row)];
}

int LockListModel::InsertLock(int row, const LockEntry& lock)
{
    const std::size_t index = row < rowCount() ? LockIndex(row)
        : IsFiltered() && !m_rows.empty()      ? m_rows.back() + 1
                                               : m_doc.locks.size();
    const int shownAt = IsFiltered() ? RowAtOrAfter(index) : int(index);
    beginInsertRows({}, shownAt, shownAt);
    m_doc.locks.insert(m_doc.locks.begin() + index, lock);
    if (IsFiltered()) {
        for (auto later = m_rows.begin() + shownAt; later != m_rows.end(); ++later)
            ++*later;
        m_rows.insert(m_rows.begin() + shownAt, index);
    }
    endInsertRows();
    LocksChanged();
    return shownAt;
}

void LockListModel::SetLock(int row, const LockEntry& lock)
{
    m_doc.locks[LockIndex(row)] = lock;
    emit dataChanged(index(row, 0), index(row, kColumnCount - 1));
    LocksChanged();
}

void LockListModel::Reload()
{
    beginResetModel();
    m_filterText.clear();
    m_rows.clear();
    m_rows.shrink_to_fit();
    m_recent.clear();
    m_dropTarget = -1;
    endResetModel();
}

void LockListModel::SetFilter(const QString& text)
{
    if (text == m_filterText)
        return;
    beginResetModel();
    m_dropTarget = -1;
    m_filterText = text;
    m_asciiNeedle.clear();
    if (std::all_of(text.begin(), text.end(), [](QChar ch) { return ch.unicode() < 0x80; }))
        m_asciiNeedle = text.toLatin1().toLower();
    m_rows = IsFiltered() ? FilteredRows() : std::vector<std::size_t>();
    endResetModel();
}

std::vector<std::size_t> LockListModel::FilteredRows()
{
    if (m_doc.LocksStamp() != m_recentStamp) {
        m_recent.clear();
        m_recentStamp = m_doc.LocksStamp();
    }
    // A text holding an earlier one can match only among that one's rows: typing on searches the
    // rows shown, and erasing finds the rows it had before.
    const RecentFilter* narrowest = nullptr;
    for (const RecentFilter& recent : m_recent) {
        if (recent.text.compare(m_filterText, Qt::CaseInsensitive) == 0)
            return recent.rows;
        if (m_filterText.contains(recent.text, Qt::CaseInsensitive)
            && (!narrowest || recent.rows.size() < narrowest->rows.size()))
            narrowest = &recent;
    }
    std::vector<std::size_t> rows = MatchingLocks(narrowest ? &narrowest->rows : nullptr);
    if (m_recent.size() == kRecentFilters)
        m_recent.pop_front();
    m_recent.push_back({ m_filterText, rows });
    return rows;
}

std::vector<std::size_t> LockListModel::MatchingLocks(const std::vector<std::size_t>* among) const
{
    // A key typed waits for the search: a long list is searched in parts, one on each core.
    constexpr std::size_t kLeastPart = 65536;
    const std::size_t count = among ? among->size() : m_doc.locks.size();
    const auto search = [this, among](std::size_t from, std::size_t to) {
        std::vector<std::size_t> found;
        for (std::size_t i = from; i < to; ++i) {
            const std::size_t index = among ? (*among)[i] : i;
            if (Matches(m_doc.locks[index]))
                found.push_back(index);
        }
        return found;
    };
    const std::size_t partCount = std::clamp<std::size_t>(
        count / kLeastPart, 1, std::max(1u, std::thread::hardware_concurrency()));
    const std::size_t partSize = (count + partCount - 1) / partCount;
    std::vector<std::future<std::vector<std::size_t>>> otherParts;
    for (std::size_t from = partSize; from < count; from += partSize) {
        // Where no thread is to be had, the part is searched here when its result is asked for.
        otherParts.push_back(std::async(std::launch::async | std::launch::deferred, search, from,
            std::min(count, from + partSize)));
    }
    std::vector<std::size_t> rows = search(0, std::min(count, partSize));
    for (auto& part : otherParts) {
        const std::vector<std::size_t> found = part.get();
        rows.insert(rows.end(), found.begin(), found.end());
    }
    return rows;
}

void LockListModel::SetDropTarget(int row, const QBrush& background, const QBrush& text)
{
    const int previous = m_dropTarget;
    m_dropTarget = row;
    m_dropBackground = background;
    m_dropText = text;
    for (int changed : { previous, row }) {
        if (changed >= 0 && changed < rowCount())
            emit dataChanged(index(changed, 0), index(changed, kColumnCount - 1),
                { Qt::BackgroundRole, Qt::ForegroundRole });
    }
}

std::size_t LockListModel::LockIndex(int row) const
{
    return IsFiltered() ? m_rows[std::size_t(row)] : std::size_t(row);
}

int LockListModel::RowAtOrAfter(std::size_t index) const
{
    return int(std::lower_bound(m_rows.begin(), m_rows.end(), index) - m_rows.begin());
}

bool LockListModel::Matches(const LockEntry& lock) const
{
    if (!m_asciiNeedle.isEmpty())
        return ContainsAscii(lock.userId, m_asciiNeedle) || ContainsAscii(lock.url, m_asciiNeedle);
    return DecodeProjectText(lock.userId).contains(m_filterText, Qt::CaseInsensitive)
        || DecodeProjectText(lock.url).contains(m_filterText, Qt::CaseInsensitive);
}

void LockListModel::LocksChanged()
{
    m_doc.LocksChanged();
}
