#include "pages/ViewGenerate.h"

#include "framework/ProgramSettings.h"
#include "framework/ResourceIcon.h"
#include "model/Doc.h"
#include "pages/DialogInputDetails.h"
#include "publish/DocOutputs.h"
#include "util/ResourceText.h"
#include "util/StringIds.h"

#include <iterator>

namespace {

constexpr int kPreviewIcon = 201;
constexpr int kCopyIcon = 202;
constexpr int kFileIcon = 203;

// The kinds of box in the order of the choice's entries, with the line that says what each means.
constexpr BoxKind kBoxKinds[] = { BoxKind::Classic, BoxKind::Modern, BoxKind::Both };
constexpr int kBoxKindNotes[] = { IDS_BOX_KIND_CLASSIC, IDS_BOX_KIND_MODERN, IDS_BOX_KIND_BOTH };
static_assert(std::size(kBoxKinds) == std::size(kBoxKindNotes), "a note for every kind");

} // namespace

ViewGenerate::ViewGenerate(
    Doc& doc, ProjectState& project, const ExternalBrowser& browser, QWidget* parent)
    : FormView(GeneratePageForm::kTemplateId, doc, parent, GeneratePageForm::Id::picturePanel)
    , m_project(project)
    , m_browser(browser)
    , m_ui(FormControls<GeneratePageForm>(*this))
{
    Fields().Field(m_ui.readFromFileCheck, &Doc::readLocksFromFile);
    Fields().Choice(m_ui.boxKindCombo, &Doc::boxKind, kBoxKinds);
    Fields().Field(m_ui.iterationsEdit, &Doc::iterations);
    // The Input Details dialog edits these.
    Fields().Keep(&Doc::lockFile);
    Fields().Keep(&Doc::loadingMessage);
    Fields().Keep(&Doc::reloadInterval);

    connect(
        m_ui.readFromFileCheck, &QCheckBox::clicked, this, &ViewGenerate::OnReadFromFileClicked);
    connect(m_ui.detailsButton, &QPushButton::clicked, this, &ViewGenerate::OnDetails);
    connect(m_ui.previewButton, &QPushButton::clicked, this, &ViewGenerate::OnPreview);
    connect(m_ui.copyButton, &QPushButton::clicked, this, &ViewGenerate::OnCopy);
    connect(m_ui.fileButton, &QPushButton::clicked, this, &ViewGenerate::OnCreateFile);
    connect(m_ui.publishButton, &QPushButton::clicked, this, &ViewGenerate::OnPublish);
    connect(m_ui.boxKindCombo, &QComboBox::activated, this, &ViewGenerate::OnBoxKindChosen);
}

void ViewGenerate::OnInitialUpdate()
{
    FormView::OnInitialUpdate();
    SetButtonIcon(m_ui.copyButton, kCopyIcon);
    SetButtonIcon(m_ui.previewButton, kPreviewIcon);
    SetButtonIcon(m_ui.fileButton, kFileIcon);
    OnReadFromFileClicked();
    ShowBoxKindNote();
}

void ViewGenerate::OnReadFromFileClicked()
{
    UpdateData(true);
    m_ui.detailsButton->setEnabled(Fields().Copies().ReadsLocksFromFile());
}

void ViewGenerate::OnBoxKindChosen(int index)
{
    if (index < 0 || index >= int(std::size(kBoxKinds)))
        return;
    // New projects start with the kind chosen last.
    ProgramSettings::kNewProjectBoxKind.Set(QString::fromLatin1(BoxKindName(kBoxKinds[index])));
    ShowBoxKindNote();
}

void ViewGenerate::ShowBoxKindNote()
{
    const int index = m_ui.boxKindCombo->currentIndex();
    m_ui.boxKindNote->setText(index < 0 || index >= int(std::size(kBoxKinds))
            ? QString()
            : QString::fromLocal8Bit(LoadResourceText(kBoxKindNotes[index])));
}

void ViewGenerate::OnDetails()
{
    DialogInputDetails dialog(Document(), m_project, this);
    dialog.EditValuesOf(Fields().Copies());
    dialog.exec();
}

void ViewGenerate::OnPreview()
{
    Commit();
    DocOutputs(Document(), m_project, this).BrowserPreview(m_browser);
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
