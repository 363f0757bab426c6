#pragma once

#include "forms/LocksPageForm.h"
#include "framework/FormView.h"
#include "model/LockEntry.h"

#include <cstdint>

class History;
class ListRowDrag;
class LockListModel;

// The Locks page: the lock table and the case and scrambling options. The list shows the
// document's own locks through a model, so edits, additions and moves go straight into the
// document; the commit marks it modified when its locks changed since the page loaded them.
class ViewLock : public FormView
{
    Q_OBJECT

public:
    // urlHistory is the run's list of URLs, which Lock Properties offers and extends.
    ViewLock(Doc& doc, History& urlHistory, QWidget* parent = nullptr);
    ~ViewLock() override;

    void OnInitialUpdate() override;
    // Also marks the document modified when its locks changed since the page loaded them.
    bool Commit() override;

    // Runs the Lock Properties dialog on a copy of entry; on OK writes the copy back and answers
    // true.
    bool EditLock(LockEntry& entry);

private:
    void SetUpColumns();
    void LoadLocks();
    void SelectRow(int row);
    int SelectedRow() const;

    void OnAdd();
    void OnDelete();
    void OnProperties();
    void OnSelectionChanged();
    void OnRowDropped(int source, int target);
    void OnDropTargetChanged(int row);
    void OnFindTextChanged(const QString& text);

    History& m_urlHistory;
    const LocksPageForm m_ui;
    LockListModel* m_model;
    ListRowDrag* m_drag;
    // The document's lock stamp when the page last loaded or committed its locks.
    std::uint64_t m_committedStamp = 0;
};
