#pragma once

#include "forms/LocksPageForm.h"
#include "framework/FormView.h"
#include "model/LockEntry.h"

#include <QIcon>

#include <cstdint>

class ListRowDrag;

// The Locks page: the lock table and the case and encryption options. The list's rows hold the
// page's own copies of the locks; the document sees them, in row order, at the next commit.
class ViewLock : public FormView
{
    Q_OBJECT

public:
    explicit ViewLock(Doc& doc, QWidget* parent = nullptr);
    ~ViewLock() override;

    void OnInitialUpdate() override;
    bool Commit() override;

    // Runs the Lock Properties dialog on a copy of entry; on OK writes the copy back and answers
    // true.
    bool EditLock(LockEntry& entry);

protected:
    void Exchange(DataExchange& exchange) override;

private:
    void SetUpColumns();
    void Load();
    // Inserts a row holding a copy of entry at index and selects it.
    void InsertRow(int index, const LockEntry& entry);
    void SelectRow(int index);
    int SelectedRow() const;
    bool RowsMatchDocument() const;

    void OnAdd();
    void OnDelete();
    void OnProperties();
    void OnSelectionChanged();
    void OnRowDropped(int source, int target);

    const LocksPageForm m_ui;
    ListRowDrag* m_drag;
    // Shown at the left of every row.
    QIcon m_lockIcon;
    std::int32_t m_encrypt = 0;
    std::int32_t m_ignoreCase = 0;
};
