#include "app/DialogNewOpenProject.h"

#include "util/ResourceText.h"
#include "util/StringIds.h"

DialogNewOpenProject::DialogNewOpenProject(const QStringList& recentFiles, QWidget* parent)
    : DialogBase(
        NewOpenProjectDialogForm::kTemplateId, parent, NewOpenProjectDialogForm::Id::picturePanel)
    , m_ui(FormControls<NewOpenProjectDialogForm>(*this))
    , m_recentFiles(recentFiles)
{
    for (QRadioButton* radio : { m_ui.blankRadio, m_ui.existingRadio })
        connect(radio, &QRadioButton::clicked, this, &DialogNewOpenProject::OnChoiceClicked);
    connect(m_ui.recentList, &QListWidget::itemDoubleClicked, this, &DialogNewOpenProject::accept);
}

void DialogNewOpenProject::Exchange(DataExchange& exchange)
{
    exchange.Radio(m_ui.blankRadio, m_choice);
    exchange.ListBoxText(m_ui.recentList, m_selectedEntry);
}

void DialogNewOpenProject::OnInitDialog()
{
    m_choice = kBlankProject;
    m_selectedEntry.clear();
    DialogBase::OnInitDialog();
    QListWidget* list = m_ui.recentList;
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
    m_ui.recentList->setEnabled(m_choice == kExistingProject);
}
