#include "pages/ViewLock.h"

#include "framework/FieldCommit.h"
#include "model/Doc.h"
#include "pages/DialogLockProperties.h"
#include "pages/ListRowDrag.h"

#include <QHeaderView>
#include <QIcon>

namespace {

constexpr int kColumnWidth = 170;

// A row of the lock list. It owns its lock and shows the user ID and password straight from it,
// so a large table costs no second copy of its texts.
class LockItem : public QTreeWidgetItem
{
public:
    LockItem(const LockEntry& entry, const QIcon& icon)
        : m_entry(entry)
        , m_icon(icon)
    {
    }

    LockEntry& Entry() { return m_entry; }
    const LockEntry& Entry() const { return m_entry; }

    // Tells the list that the lock's texts changed.
    void Refresh() { emitDataChanged(); }

    QVariant data(int column, int role) const override
    {
        if (role == Qt::DisplayRole && column == 0)
            return QString::fromLocal8Bit(m_entry.userId);
        if (role == Qt::DisplayRole && column == 1)
            return QString::fromLocal8Bit(m_entry.password);
        if (role == Qt::DecorationRole && column == 0)
            return m_icon;
        return QTreeWidgetItem::data(column, role);
    }

private:
    LockEntry m_entry;
    QIcon m_icon;
};

LockItem* ItemAt(const QTreeWidget* list, int row)
{
    return static_cast<LockItem*>(list->topLevelItem(row));
}

} // namespace

ViewLock::ViewLock(Doc& doc, QWidget* parent)
    : FormView(LocksPageForm::kTemplateId, doc, parent, LocksPageForm::Id::picturePanel)
    , m_ui(FormControls<LocksPageForm>(*this))
    , m_drag(new ListRowDrag(m_ui.lockList))
    , m_lockIcon(QStringLiteral(":/images/lock24.png"))
{
    m_ui.lockList->setIconSize(QSize(24, 24));
    m_ui.lockList->header()->setStretchLastSection(false);
    connect(m_ui.addButton, &QPushButton::clicked, this, &ViewLock::OnAdd);
    connect(m_ui.deleteButton, &QPushButton::clicked, this, &ViewLock::OnDelete);
    connect(m_ui.propertiesButton, &QPushButton::clicked, this, &ViewLock::OnProperties);
    connect(m_ui.lockList, &QTreeWidget::itemDoubleClicked, this, &ViewLock::OnProperties);
    connect(m_ui.lockList, &QTreeWidget::itemSelectionChanged, this, &ViewLock::OnSelectionChanged);
    connect(m_drag, &ListRowDrag::RowDropped, this, &ViewLock::OnRowDropped);
}

ViewLock::~ViewLock() = default;

void ViewLock::Exchange(DataExchange& exchange)
{
    exchange.Check(m_ui.ignoreCaseCheck, m_ignoreCase);
    exchange.Check(m_ui.encryptCheck, m_encrypt);
}

void ViewLock::OnInitialUpdate()
{
    FormView::OnInitialUpdate();
    SetUpColumns();
    Load();
}

void ViewLock::SetUpColumns()
{
    m_ui.lockList->setColumnCount(2);
    m_ui.lockList->setHeaderLabels({ QStringLiteral("User"), QStringLiteral("Password") });
    m_ui.lockList->header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_ui.lockList->setColumnWidth(0, kColumnWidth);
    m_ui.lockList->setColumnWidth(1, kColumnWidth);
}

void ViewLock::Load()
{
    const Doc& doc = Document();
    // Built apart and inserted at once: row by row, a large table would cost far more.
    QList<QTreeWidgetItem*> items;
    items.reserve(qsizetype(doc.locks.size()));
    for (const LockEntry& entry : doc.locks)
        items.append(new LockItem(entry, m_lockIcon));
    m_ui.lockList->clear();
    m_ui.lockList->insertTopLevelItems(0, items);
    if (!items.isEmpty())
        SelectRow(int(items.size()) - 1);
    OnSelectionChanged();

    m_ignoreCase = doc.ignoreCase;
    m_encrypt = doc.encrypt;
    UpdateData(false);
}

bool ViewLock::Commit()
{
    const bool ok = UpdateData(true);
    Doc& doc = Document();
    if (!RowsMatchDocument()) {
        doc.SetModified();
        doc.locks.clear();
        doc.locks.reserve(std::size_t(m_ui.lockList->topLevelItemCount()));
        for (int row = 0; row < m_ui.lockList->topLevelItemCount(); ++row)
            doc.locks.push_back(ItemAt(m_ui.lockList, row)->Entry());
    }
    FieldCommit commit(doc);
    commit.Field(doc.ignoreCase, m_ignoreCase);
    commit.Field(doc.encrypt, m_encrypt);
    return ok;
}

bool ViewLock::RowsMatchDocument() const
{
    const std::vector<LockEntry>& locks = Document().locks;
    if (std::size_t(m_ui.lockList->topLevelItemCount()) != locks.size())
        return false;
    for (int row = 0; row < m_ui.lockList->topLevelItemCount(); ++row) {
        if (ItemAt(m_ui.lockList, row)->Entry().DiffersFrom(locks[std::size_t(row)]))
            return false;
    }
    return true;
}

bool ViewLock::EditLock(LockEntry& entry)
{
    DialogLockProperties dialog(this);
    dialog.SetEntry(entry);
    dialog.SetModernBox(UsesModernBox(Document().boxKind));
    if (dialog.exec() != QDialog::Accepted)
        return false;
    entry = dialog.Entry();
    return true;
}

void ViewLock::InsertRow(int index, const LockEntry& entry)
{
    m_ui.lockList->insertTopLevelItem(index, new LockItem(entry, m_lockIcon));
    SelectRow(index);
}

void ViewLock::SelectRow(int index)
{
    QTreeWidgetItem* item = m_ui.lockList->topLevelItem(index);
    m_ui.lockList->setCurrentItem(item);
    m_ui.lockList->scrollToItem(item);
}

int ViewLock::SelectedRow() const
{
    const QModelIndexList selected = m_ui.lockList->selectionModel()->selectedRows();
    return selected.isEmpty() ? -1 : selected.first().row();
}

void ViewLock::OnAdd()
{
    LockEntry entry;
    if (!EditLock(entry))
        return;
    const int selected = SelectedRow();
    InsertRow(selected >= 0 ? selected + 1 : m_ui.lockList->topLevelItemCount(), entry);
}

void ViewLock::OnDelete()
{
    const int selected = SelectedRow();
    if (selected < 0)
        return;
    delete m_ui.lockList->takeTopLevelItem(selected);
    // The list would select a neighbour, and a second press would then delete it too.
    m_ui.lockList->selectionModel()->clear();
}

void ViewLock::OnProperties()
{
    const int selected = SelectedRow();
    if (selected < 0)
        return;
    LockItem* item = ItemAt(m_ui.lockList, selected);
    if (EditLock(item->Entry()))
        item->Refresh();
}

void ViewLock::OnSelectionChanged()
{
    m_ui.propertiesButton->setEnabled(m_ui.lockList->selectionModel()->hasSelection());
}

void ViewLock::OnRowDropped(int source, int target)
{
    const int destination = DroppedRowIndex(source, target, m_ui.lockList->topLevelItemCount());
    // The row itself moves, lock and all.
    QTreeWidgetItem* item = m_ui.lockList->takeTopLevelItem(source);
    m_ui.lockList->insertTopLevelItem(destination, item);
    SelectRow(destination);
}
