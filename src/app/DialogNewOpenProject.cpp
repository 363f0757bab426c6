#include "app/DialogNewOpenProject.h"

#include "util/ResourceText.h"
#include "util/StringIds.h"

#include <QListWidget>
#include <QRadioButton>

namespace {

enum ControlId : int {
    kPicture = 121,
    kRecentList = 2101,
    kBlankRadio = 2102,
    kExistingRadio = 2103,
};

} // namespace

DialogNewOpenProject::DialogNewOpenProject(const QStringList& recentFiles, QWidget* parent)
    : DialogBase(2100, parent, kPicture)
    , m_recentFiles(recentFiles)
{
    for (int id : { kBlankRadio, kExistingRadio }) {
        if (auto* radio = Control<QRadioButton>(id))
            connect(radio, &QRadioButton::clicked, this, &DialogNewOpenProject::OnChoiceClicked);
    }
    if (auto* list = Control<QListWidget>(kRecentList))
        connect(list, &QListWidget::itemDoubleClicked, this, &DialogNewOpenProject::accept);
}

void DialogNewOpenProject::Exchange(DataExchange& exchange)
{
    exchange.Radio(kBlankRadio, m_choice);
    exchange.ListBoxText(kRecentList, m_selectedEntry);
}

void DialogNewOpenProject::OnInitDialog()
{
    m_choice = kBlankProject;
    m_selectedEntry.clear();
    DialogBase::OnInitDialog();
    auto* list = Control<QListWidget>(kRecentList);
    if (!list)
        return;
    list->clear();
    list->addItem(QString::fromLocal8Bit(LoadResourceText(IDS_MORE_FILES)));
    list->addItems(m_recentFiles);
    list->setCurrentRow(0);
    EnableList();
}

void DialogNewOpenProject::OnChoiceClicked()
{
    UpdateData(true);
    EnableList();
}

void DialogNewOpenProject::EnableList()
{
    if (auto* list = Control<QListWidget>(kRecentList))
        list->setEnabled(m_choice == kExistingProject);
}
