#include "pages/ViewGenerate.h"

#include "framework/AppState.h"
#include "framework/FieldCommit.h"
#include "framework/ResourceIcon.h"
#include "model/Doc.h"
#include "publish/DocOutputs.h"

#include <algorithm>
#include <iterator>

namespace {

constexpr int kPreviewIcon = 201;
constexpr int kCopyIcon = 202;
constexpr int kFileIcon = 203;

// The kinds of box in the order of the choice's entries.
constexpr BoxKind kBoxKinds[] = { BoxKind::Classic, BoxKind::Modern, BoxKind::Both };

} // namespace

ViewGenerate::ViewGenerate(Doc& doc, QWidget* parent)
    : FormView(GeneratePageForm::kTemplateId, doc, parent, GeneratePageForm::Id::picturePanel)
    , m_ui(FormControls<GeneratePageForm>(*this))
{
    connect(
        m_ui.readFromFileCheck, &QCheckBox::clicked, this, &ViewGenerate::OnReadFromFileClicked);
    connect(m_ui.detailsButton, &QPushButton::clicked, this, &ViewGenerate::OnDetails);
    connect(m_ui.previewButton, &QPushButton::clicked, this, &ViewGenerate::OnPreview);
    connect(m_ui.copyButton, &QPushButton::clicked, this, &ViewGenerate::OnCopy);
    connect(m_ui.fileButton, &QPushButton::clicked, this, &ViewGenerate::OnCreateFile);
    connect(m_ui.boxKindCombo, &QComboBox::activated, this, &ViewGenerate::OnBoxKindChosen);
}

void ViewGenerate::Exchange(DataExchange& exchange)
{
    exchange.Check(m_ui.readFromFileCheck, m_readFromFile);
}

void ViewGenerate::OnInitialUpdate()
{
    Load();
    FormView::OnInitialUpdate();
    SetButtonIcon(m_ui.copyButton, kCopyIcon);
    SetButtonIcon(m_ui.previewButton, kPreviewIcon);
    SetButtonIcon(m_ui.fileButton, kFileIcon);
    OnReadFromFileClicked();
    const BoxKind* chosen
        = std::find(std::begin(kBoxKinds), std::end(kBoxKinds), CurrentAppState().boxKind);
    m_ui.boxKindCombo->setCurrentIndex(int(chosen - std::begin(kBoxKinds)));
}

void ViewGenerate::Load()
{
    const Doc& doc = Document();
    m_readFromFile = doc.readLocksFromFile;
    m_details = { doc.lockFile, doc.loadingMessage, doc.reloadInterval };
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
    return ok;
}

void ViewGenerate::OnReadFromFileClicked()
{
    UpdateData(true);
    m_ui.detailsButton->setEnabled(m_readFromFile == 1);
}

void ViewGenerate::OnBoxKindChosen(int index)
{
    if (index >= 0 && index < int(std::size(kBoxKinds)))
        CurrentAppState().boxKind = kBoxKinds[index];
}

void ViewGenerate::OnDetails()
{
    DialogInputDetails dialog(Document(), this);
    dialog.SetDetails(m_details);
    if (dialog.exec() == QDialog::Accepted)
        m_details = dialog.Details();
}

void ViewGenerate::OnPreview()
{
    Commit();
    DocOutputs(Document(), this).BrowserPreview();
}

void ViewGenerate::OnCopy()
{
    Commit();
    DocOutputs(Document(), this).CopyHtmlToClipboard();
}

void ViewGenerate::OnCreateFile()
{
    Commit();
    Doc& doc = Document();
    DocOutputs(doc, this).CreateHtmlFile(doc.htmlFilePath, true);
}
