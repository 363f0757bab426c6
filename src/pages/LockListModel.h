#pragma once

#include <QAbstractTableModel>
#include <QBrush>
#include <QByteArray>
#include <QIcon>

#include <cstdint>
#include <deque>
#include <vector>

class Doc;
class LockEntry;

// The document's lock list as a table: no copy of the locks and nothing per lock, so a list of a
// million members costs what the document already holds. Every change goes straight into the
// document and renews its lock stamp. A filter narrows the rows to the locks whose user ID or URL
// holds a text; rows are then the matching locks in list order, and changes made while it is set
// keep their rows in sight until the filter changes.
class LockListModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column : int { kUser, kPassword, kUrl, kTarget, kColumnCount };

    LockListModel(Doc& doc, const QIcon& lockIcon, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(
        int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // One row at a time, as a drag moves it; destination as Qt counts it, before the move.
    bool moveRows(const QModelIndex& sourceParent, int sourceRow, int count,
        const QModelIndex& destinationParent, int destinationChild) override;
    bool removeRows(int row, int count, const QModelIndex& parent = {}) override;

    const LockEntry& Lock(int row) const;
    // Puts lock into the list before the lock shown at row (rowCount(): after the last row shown)
    // and returns the row it is shown at.
    int InsertLock(int row, const LockEntry& lock);
    void SetLock(int row, const LockEntry& lock);

    // The document's list was replaced as a whole (New, Open, an import): shows it anew, without
    // a filter.
    void Reload();

    // Shows only the locks whose user ID or URL holds text, ignoring case; all for an empty text.
    void SetFilter(const QString& text);
    QString Filter() const { return m_filterText; }

    // The row a drag would drop before, drawn with the given brushes; -1 for none.
    void SetDropTarget(int row, const QBrush& background = {}, const QBrush& text = {});

private:
    std::size_t LockIndex(int row) const;
    bool IsFiltered() const { return !m_filterText.isEmpty(); }
    // The row of the first shown lock at or after lock index (rowCount() when none).
    int RowAtOrAfter(std::size_t index) const;
    bool Matches(const LockEntry& lock) const;
    // The lock indices the filter text shows.
    std::vector<std::size_t> FilteredRows();
    // The indices of the matching locks among the given ones (all locks when null), ascending.
    std::vector<std::size_t> MatchingLocks(const std::vector<std::size_t>* among) const;
    void LocksChanged();

    Doc& m_doc;
    QIcon m_lockIcon;
    QString m_filterText;
    // The filter text as matched against the bytes: ASCII in lower case, or empty when it holds
    // other characters and is matched as text.
    QByteArray m_asciiNeedle;
    // The lock indices of the rows while a filter is set, ascending.
    std::vector<std::size_t> m_rows;
    // The last few filters' rows, while the locks are as they were.
    struct RecentFilter
    {
        QString text;
        std::vector<std::size_t> rows;
    };
    static constexpr std::size_t kRecentFilters = 4;
    std::deque<RecentFilter> m_recent;
    std::uint64_t m_recentStamp = 0;
    int m_dropTarget = -1;
    QBrush m_dropBackground;
    QBrush m_dropText;
};
