#include "pages/ViewLock.h"

#include "model/Doc.h"
#include "pages/DialogLockProperties.h"
#include "pages/ListRowDrag.h"
#include "pages/LockListModel.h"

#include <QHeaderView>
#include <QIcon>

namespace {

constexpr int kColumnWidths[LockListModel::kColumnCount] = { 100, 80, 140, 60 };

} // namespace

ViewLock::ViewLock(Doc& doc, History& urlHistory, QWidget* parent)
    : FormView(LocksPageForm::kTemplateId, doc, parent, LocksPageForm::Id::picturePanel)
    , m_urlHistory(urlHistory)
    , m_ui(FormControls<LocksPageForm>(*this))
    , m_model(new LockListModel(doc, QIcon(QStringLiteral(":/images/lock24.png")), this))
    , m_drag(new ListRowDrag(m_ui.lockList))
{
    Fields().Field(m_ui.ignoreCaseCheck, &Doc::ignoreCase);
    Fields().Field(m_ui.encryptCheck, &Doc::encrypt);
    m_ui.lockList->setModel(m_model);
    m_ui.lockList->setIconSize(QSize(24, 24));
    m_ui.lockList->verticalHeader()->setDefaultSectionSize(26);
    m_ui.lockList->horizontalHeader()->setStretchLastSection(false);
    connect(m_ui.addButton, &QPushButton::clicked, this, &ViewLock::OnAdd);
    connect(m_ui.deleteButton, &QPushButton::clicked, this, &ViewLock::OnDelete);
    connect(m_ui.propertiesButton, &QPushButton::clicked, this, &ViewLock::OnProperties);
    connect(m_ui.lockList, &QTableView::doubleClicked, this, &ViewLock::OnProperties);
    connect(m_ui.lockList->selectionModel(), &QItemSelectionModel::selectionChanged, this,
        &ViewLock::OnSelectionChanged);
    connect(m_ui.findEdit, &QLineEdit::textChanged, this, &ViewLock::OnFindTextChanged);
    connect(m_drag, &ListRowDrag::rowDropped, this, &ViewLock::OnRowDropped);
    connect(m_drag, &ListRowDrag::targetChanged, this, &ViewLock::OnDropTargetChanged);
}

ViewLock::~ViewLock() = default;

void ViewLock::OnInitialUpdate()
{
    FormView::OnInitialUpdate();
    SetUpColumns();
    LoadLocks();
}

void ViewLock::SetUpColumns()
{
    m_ui.lockList->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    for (int column = 0; column < LockListModel::kColumnCount; ++column)
        m_ui.lockList->setColumnWidth(column, kColumnWidths[column]);
}

void ViewLock::LoadLocks()
{
    {
        // The model shows the whole new list; the field must not filter it again.
        const QSignalBlocker quiet(m_ui.findEdit);
        m_ui.findEdit->clear();
    }
    m_model->Reload();
    m_committedStamp = Document().LocksStamp();
    if (m_model->rowCount() > 0)
        SelectRow(m_model->rowCount() - 1);
    OnSelectionChanged();
}

bool ViewLock::Commit()
{
    Doc& doc = Document();
    if (doc.LocksStamp() != m_committedStamp) {
        doc.SetModified();
        m_committedStamp = doc.LocksStamp();
    }
    return FormView::Commit();
}

bool ViewLock::EditLock(LockEntry& entry)
{
    DialogLockProperties dialog(m_urlHistory, this);
    dialog.SetEntry(entry);
    dialog.SetModernBox(UsesModernBox(Document().boxKind));
    QByteArrayList areaNames;
    for (const MemberArea& area : Document().areas)
        areaNames.append(area.name);
    dialog.SetAreaNames(areaNames);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    entry = dialog.Entry();
    return true;
}

void ViewLock::SelectRow(int row)
{
    const QModelIndex index = m_model->index(row, 0);
    m_ui.lockList->setCurrentIndex(index);
    m_ui.lockList->scrollTo(index);
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
    SelectRow(m_model->InsertLock(selected >= 0 ? selected + 1 : m_model->rowCount(), entry));
}

void ViewLock::OnDelete()
{
    const int selected = SelectedRow();
    if (selected < 0)
        return;
    m_model->removeRows(selected, 1);
    // The list would select a neighbour, and a second press would then delete it too.
    m_ui.lockList->selectionModel()->clear();
}

void ViewLock::OnProperties()
{
    const int selected = SelectedRow();
    if (selected < 0)
        return;
    LockEntry entry = m_model->Lock(selected);
    // Confirming without a change is no change to the project.
    if (EditLock(entry) && entry.DiffersFrom(m_model->Lock(selected)))
        m_model->SetLock(selected, entry);
}

void ViewLock::OnSelectionChanged()
{
    m_ui.propertiesButton->setEnabled(m_ui.lockList->selectionModel()->hasSelection());
}

void ViewLock::OnRowDropped(int source, int target)
{
    const int count = m_model->rowCount();
    // Dropping a row on itself or on the row below it moves nothing; the row is selected all the
    // same.
    m_model->moveRows({}, source, 1, {}, target < 0 ? count : target);
    SelectRow(DroppedRowIndex(source, target, count));
}

void ViewLock::OnDropTargetChanged(int row)
{
    const QPalette palette = m_ui.lockList->palette();
    m_model->SetDropTarget(
        row, palette.brush(QPalette::Highlight), palette.brush(QPalette::HighlightedText));
}

void ViewLock::OnFindTextChanged(const QString& text)
{
    m_model->SetFilter(text);
    OnSelectionChanged();
}
