#include "pages/ViewMembers.h"

#include "framework/FieldCommit.h"
#include "framework/Prompts.h"
#include "framework/ResourceString.h"
#include "generate/PublishPlan.h"
#include "model/Doc.h"
#include "pages/DialogMemberArea.h"
#include "publish/ProjectState.h"
#include "util/StringIds.h"

#include <QFile>
#include <QHash>
#include <QHeaderView>
#include <QSet>
#include <QStandardItemModel>
#include <QTableView>

namespace {

constexpr int kNameColumnWidth = 90;

} // namespace

ViewMembers::ViewMembers(Doc& doc, const ProjectState& project, QWidget* parent)
    : FormView(MembersPageForm::kTemplateId, doc, parent, MembersPageForm::Id::picturePanel)
    , m_project(project)
    , m_ui(FormControls<MembersPageForm>(*this))
    , m_areaModel(new QStandardItemModel(0, 2, this))
{
    Fields().Field(m_ui.siteFolderEdit, &Doc::siteFolder);
    Fields().Field(m_ui.rememberEdit, &Doc::rememberDays, m_ui.rememberUpDown);
    Fields().Field(m_ui.rememberLabelEdit, &Doc::rememberLabel);
    Fields().Field(m_ui.logoutLabelEdit, &Doc::logoutLabel);
    Fields().Field(m_ui.noAccessEdit, &Doc::noAccessMessage);
    Fields().Field(m_ui.insecureEdit, &Doc::insecureMessage);
    Fields().Field(m_ui.loadFailedEdit, &Doc::loadFailedMessage);

    m_areaModel->setHorizontalHeaderLabels(ResourceStringLines(IDS_AREA_COLUMNS));
    m_ui.areaList->setModel(m_areaModel);
    m_ui.areaList->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_ui.areaList->horizontalHeader()->setStretchLastSection(true);
    m_ui.areaList->setColumnWidth(0, kNameColumnWidth);
    connect(m_ui.browseButton, &QPushButton::clicked, this, &ViewMembers::OnBrowse);
    connect(m_ui.addButton, &QPushButton::clicked, this, &ViewMembers::OnAdd);
    connect(m_ui.editButton, &QPushButton::clicked, this, &ViewMembers::OnEdit);
    connect(m_ui.areaList, &QTableView::doubleClicked, this, &ViewMembers::OnEdit);
    connect(m_ui.removeButton, &QPushButton::clicked, this, &ViewMembers::OnRemove);
    connect(m_ui.newKeysButton, &QPushButton::clicked, this, &ViewMembers::OnNewKeys);
    connect(m_ui.areaList->selectionModel(), &QItemSelectionModel::selectionChanged, this,
        &ViewMembers::OnSelectionChanged);
}

void ViewMembers::OnInitialUpdate()
{
    LoadAreas();
    FormView::OnInitialUpdate();
    // Long texts show their beginning.
    for (QLineEdit* edit : { m_ui.siteFolderEdit, m_ui.rememberLabelEdit, m_ui.logoutLabelEdit,
             m_ui.noAccessEdit, m_ui.insecureEdit, m_ui.loadFailedEdit })
        edit->setCursorPosition(0);
}

void ViewMembers::LoadAreas()
{
    m_areas.clear();
    m_forgetKeys = false;
    for (const MemberArea& area : Document().areas)
        m_areas.push_back({ area, area.name });
    ShowAreas(-1);
}

bool ViewMembers::Commit()
{
    const bool ok = FormView::Commit();
    Doc& doc = Document();
    CarryAreaChangesIntoLocks();
    std::vector<MemberArea> areas;
    areas.reserve(m_areas.size());
    for (AreaRow& row : m_areas) {
        MemberArea area = row.area;
        const MemberArea* stored
            = m_forgetKeys || row.storedName.isEmpty() ? nullptr : FindArea(doc, row.storedName);
        area.key = stored ? stored->key : QByteArray();
        area.memberTags = stored ? stored->memberTags : QByteArray();
        areas.push_back(std::move(area));
        row.storedName = row.area.name;
    }
    m_forgetKeys = false;
    FieldCommit(doc).Field(doc.areas, areas);
    return ok;
}

void ViewMembers::CarryAreaChangesIntoLocks()
{
    Doc& doc = Document();
    QHash<QByteArray, QByteArray> renamed;
    for (const AreaRow& row : m_areas) {
        if (!row.storedName.isEmpty())
            renamed.insert(row.storedName, row.area.name);
    }
    QSet<QByteArray> removed;
    for (const MemberArea& area : doc.areas) {
        if (!renamed.contains(area.name))
            removed.insert(area.name);
    }
    bool changed = false;
    for (LockEntry& lock : doc.locks) {
        if (!lock.areas)
            continue;
        QByteArrayList names;
        for (const QByteArray& name : *lock.areas) {
            if (!removed.contains(name))
                names.append(renamed.value(name, name));
        }
        if (names != *lock.areas) {
            lock.areas = names;
            changed = true;
        }
    }
    if (changed) {
        doc.SetModified();
        doc.LocksChanged();
    }
}

void ViewMembers::ShowAreas(int selectRow)
{
    m_areaModel->setRowCount(0);
    for (const AreaRow& row : m_areas) {
        auto* name = new QStandardItem(QString::fromLocal8Bit(row.area.name));
        auto* patterns = new QStandardItem(QString::fromLocal8Bit(row.area.patterns.join(", ")));
        for (QStandardItem* item : { name, patterns })
            item->setEditable(false);
        m_areaModel->appendRow({ name, patterns });
    }
    if (selectRow >= 0)
        m_ui.areaList->setCurrentIndex(m_areaModel->index(selectRow, 0));
    OnSelectionChanged();
}

int ViewMembers::SelectedRow() const
{
    const QModelIndexList selected = m_ui.areaList->selectionModel()->selectedRows();
    return selected.isEmpty() ? -1 : selected.first().row();
}

void ViewMembers::OnSelectionChanged()
{
    const bool selected = SelectedRow() >= 0;
    m_ui.editButton->setEnabled(selected);
    m_ui.removeButton->setEnabled(selected);
    m_ui.newKeysButton->setEnabled(!m_areas.empty());
}

bool ViewMembers::EditArea(MemberArea& area, int row)
{
    UpdateData(true);
    QByteArrayList otherNames;
    for (int other = 0; other < int(m_areas.size()); ++other) {
        if (other != row)
            otherNames.append(m_areas[std::size_t(other)].area.name);
    }
    DialogMemberArea dialog(
        ResolveSiteFolder(Fields().Copies().siteFolder, m_project.filePath), otherNames, this);
    dialog.SetArea(area);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    area = dialog.Area();
    return true;
}

void ViewMembers::OnAdd()
{
    MemberArea area;
    if (!EditArea(area, -1))
        return;
    m_areas.push_back({ area, {} });
    ShowAreas(int(m_areas.size()) - 1);
}

void ViewMembers::OnEdit()
{
    const int row = SelectedRow();
    if (row < 0)
        return;
    MemberArea& area = m_areas[std::size_t(row)].area;
    if (EditArea(area, row))
        ShowAreas(row);
}

void ViewMembers::OnRemove()
{
    const int row = SelectedRow();
    if (row < 0)
        return;
    m_areas.erase(m_areas.begin() + row);
    ShowAreas(-1);
}

void ViewMembers::OnNewKeys()
{
    if (ShowResourceMessage(this, IDS_ASK_NEW_AREA_KEYS, PromptIcon::Question, PromptButtons::YesNo)
        != PromptAnswer::Yes)
        return;
    // An area without a key gets a new one when it is next published or saved.
    m_forgetKeys = true;
}

void ViewMembers::OnBrowse()
{
    UpdateData(true);
    const std::optional<QString> chosen
        = CurrentPrompts().BrowseForFolder(this, ResourceString(IDS_CHOOSE_SITE_FOLDER),
            QFile::decodeName(ResolveSiteFolder(Fields().Copies().siteFolder, m_project.filePath)));
    if (!chosen)
        return;
    Fields().Copies().siteFolder = QFile::encodeName(*chosen);
    UpdateData(false);
}
