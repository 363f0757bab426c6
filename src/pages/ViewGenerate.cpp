#include "pages/ViewGenerate.h"

#include "framework/FieldCommit.h"
#include "framework/ProgramSettings.h"
#include "framework/ResourceIcon.h"
#include "generate/LockData.h"
#include "model/Doc.h"
#include "publish/DocOutputs.h"
#include "util/ResourceText.h"
#include "util/StringIds.h"

#include <algorithm>
#include <iterator>

namespace {

constexpr int kPreviewIcon = 201;
constexpr int kCopyIcon = 202;
constexpr int kFileIcon = 203;

// The kinds of box in the order of the choice's entries, with the line that says what each means.
constexpr std::pair<BoxKind, int> kBoxKinds[] = {
    { BoxKind::Classic, IDS_BOX_KIND_CLASSIC },
    { BoxKind::Modern, IDS_BOX_KIND_MODERN },
    { BoxKind::Both, IDS_BOX_KIND_BOTH },
};

std::int32_t KindIndex(BoxKind kind)
{
    const auto found = std::find_if(std::begin(kBoxKinds), std::end(kBoxKinds),
        [kind](const auto& entry) { return entry.first == kind; });
    return std::int32_t(found - std::begin(kBoxKinds));
}

} // namespace

ViewGenerate::ViewGenerate(Doc& doc, ProjectState& project, QWidget* parent)
    : FormView(GeneratePageForm::kTemplateId, doc, parent, GeneratePageForm::Id::picturePanel)
    , m_project(project)
    , m_ui(FormControls<GeneratePageForm>(*this))
{
    connect(
        m_ui.readFromFileCheck, &QCheckBox::clicked, this, &ViewGenerate::OnReadFromFileClicked);
    connect(m_ui.detailsButton, &QPushButton::clicked, this, &ViewGenerate::OnDetails);
    connect(m_ui.previewButton, &QPushButton::clicked, this, &ViewGenerate::OnPreview);
    connect(m_ui.copyButton, &QPushButton::clicked, this, &ViewGenerate::OnCopy);
    connect(m_ui.fileButton, &QPushButton::clicked, this, &ViewGenerate::OnCreateFile);
    connect(m_ui.publishButton, &QPushButton::clicked, this, &ViewGenerate::OnPublish);
    connect(m_ui.boxKindCombo, &QComboBox::activated, this, &ViewGenerate::OnBoxKindChosen);
}

void ViewGenerate::Exchange(DataExchange& exchange)
{
    exchange.Check(m_ui.readFromFileCheck, m_readFromFile);
    exchange.ComboIndex(m_ui.boxKindCombo, m_boxKind);
    exchange.Integer(m_ui.iterationsEdit, m_iterations, LockIterations::kPublishMinimum,
        LockIterations::kMaximum);
}

void ViewGenerate::OnInitialUpdate()
{
    Load();
    FormView::OnInitialUpdate();
    SetButtonIcon(m_ui.copyButton, kCopyIcon);
    SetButtonIcon(m_ui.previewButton, kPreviewIcon);
    SetButtonIcon(m_ui.fileButton, kFileIcon);
    OnReadFromFileClicked();
    ShowBoxKindNote();
}

void ViewGenerate::Load()
{
    const Doc& doc = Document();
    m_readFromFile = doc.readLocksFromFile;
    m_details = { doc.lockFile, doc.loadingMessage, doc.reloadInterval };
    m_boxKind = KindIndex(doc.boxKind);
    m_iterations = doc.iterations;
}

bool ViewGenerate::Commit()
{
    const bool ok = UpdateData(true);
    Doc& doc = Document();
    FieldCommit commit(doc);
    commit.Field(doc.readLocksFromFile, m_readFromFile);
    commit.Field(doc.lockFile, m_details.lockFile);
    commit.Field(doc.loadingMessage, m_details.loadingMessage);
    commit.Field(doc.reloadInterval, m_details.reloadInterval);
    if (m_boxKind >= 0 && m_boxKind < std::int32_t(std::size(kBoxKinds)))
        commit.Field(doc.boxKind, kBoxKinds[m_boxKind].first);
    commit.Field(doc.iterations, m_iterations);
    return ok;
}

void ViewGenerate::OnReadFromFileClicked()
{
    UpdateData(true);
    m_ui.detailsButton->setEnabled(m_readFromFile == 1);
}

void ViewGenerate::OnBoxKindChosen(int index)
{
    if (index < 0 || index >= int(std::size(kBoxKinds)))
        return;
    // New projects start with the kind chosen last.
    ProgramSettings::kNewProjectBoxKind.Set(
        QString::fromLatin1(BoxKindName(kBoxKinds[index].first)));
    ShowBoxKindNote();
}

void ViewGenerate::ShowBoxKindNote()
{
    const int index = m_ui.boxKindCombo->currentIndex();
    m_ui.boxKindNote->setText(index < 0 || index >= int(std::size(kBoxKinds))
            ? QString()
            : QString::fromLocal8Bit(LoadResourceText(kBoxKinds[index].second)));
}

void ViewGenerate::OnDetails()
{
    DialogInputDetails dialog(Document(), m_project, this);
    dialog.SetDetails(m_details);
    if (dialog.exec() == QDialog::Accepted)
        m_details = dialog.Details();
}

void ViewGenerate::OnPreview()
{
    Commit();
    DocOutputs(Document(), m_project, this).BrowserPreview();
}

void ViewGenerate::OnCopy()
{
    Commit();
    DocOutputs(Document(), m_project, this).CopyHtmlToClipboard();
}

void ViewGenerate::OnCreateFile()
{
    Commit();
    Doc& doc = Document();
    DocOutputs(doc, m_project, this).CreateHtmlFile(doc.htmlFilePath, true);
}

void ViewGenerate::OnPublish()
{
    Commit();
    DocOutputs(Document(), m_project, this).PublishToFolder();
}
