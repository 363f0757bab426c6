#include "pages/LockListModel.h"

#include "model/Doc.h"
#include "util/TextEncoding.h"

#include <algorithm>
#include <numeric>

namespace {

char AsciiLower(char ch)
{
    return ch >= 'A' && ch <= 'Z' ? char(ch + ('a' - 'A')) : ch;
}

// Whether text holds needle (ASCII in lower case), ignoring the case of ASCII letters. Byte by
// byte, with no decoding: a million locks are searched at every key press.
bool ContainsAscii(const QByteArray& text, const QByteArray& needle)
{
    const qsizetype last = text.size() - needle.size();
    const char first = needle[0];
    for (qsizetype at = 0; at <= last; ++at) {
        if (AsciiLower(text[at]) != first)
            continue;
        qsizetype i = 1;
        while (i < needle.size() && AsciiLower(text[at + i]) == needle[i])
            ++i;
        if (i == needle.size())
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
    static const char* const kTitles[kColumnCount] = { "User", "Password", "URL", "Target" };
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0
        || section >= kColumnCount)
        return {};
    return QString::fromLatin1(kTitles[section]);
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
    m_dropTarget = -1;
    endResetModel();
}

void LockListModel::SetFilter(const QString& text)
{
    if (text == m_filterText)
        return;
    const bool narrows = IsFiltered() && text.contains(m_filterText, Qt::CaseInsensitive);
    beginResetModel();
    m_dropTarget = -1;
    m_filterText = text;
    m_asciiNeedle.clear();
    if (std::all_of(text.begin(), text.end(), [](QChar ch) { return ch.unicode() < 0x80; }))
        m_asciiNeedle = text.toLatin1().toLower();
    if (!IsFiltered()) {
        m_rows.clear();
        m_rows.shrink_to_fit();
    } else if (narrows) {
        // A longer text can only match among the rows shown now.
        m_rows.erase(std::remove_if(m_rows.begin(), m_rows.end(),
                         [this](std::size_t index) { return !Matches(m_doc.locks[index]); }),
            m_rows.end());
    } else {
        m_rows.clear();
        for (std::size_t index = 0; index < m_doc.locks.size(); ++index) {
            if (Matches(m_doc.locks[index]))
                m_rows.push_back(index);
        }
    }
    endResetModel();
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
