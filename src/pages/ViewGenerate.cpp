#include "pages/ViewGenerate.h"

#include "framework/FieldCommit.h"
#include "framework/ResourceIcon.h"
#include "model/Doc.h"
#include "publish/DocOutputs.h"

#include <QCheckBox>
#include <QPushButton>

namespace {

constexpr int kReadFromFileCheck = 1920;
constexpr int kDetailsButton = 1921;
constexpr int kPreviewButton = 1701;
constexpr int kCopyButton = 1702;
constexpr int kFileButton = 1703;

constexpr int kPreviewIcon = 201;
constexpr int kCopyIcon = 202;
constexpr int kFileIcon = 203;

} // namespace

ViewGenerate::ViewGenerate(Doc& doc, QWidget* parent)
    : FormView(1700, doc, parent, 121)
{
    connect(Control<QCheckBox>(kReadFromFileCheck), &QCheckBox::clicked, this,
        &ViewGenerate::OnReadFromFileClicked);
    connect(Control<QPushButton>(kDetailsButton), &QPushButton::clicked, this,
        &ViewGenerate::OnDetails);
    connect(Control<QPushButton>(kPreviewButton), &QPushButton::clicked, this,
        &ViewGenerate::OnPreview);
    connect(Control<QPushButton>(kCopyButton), &QPushButton::clicked, this, &ViewGenerate::OnCopy);
    connect(Control<QPushButton>(kFileButton), &QPushButton::clicked, this,
        &ViewGenerate::OnCreateFile);
}

void ViewGenerate::Exchange(DataExchange& exchange)
{
    exchange.Check(kReadFromFileCheck, m_readFromFile);
}

void ViewGenerate::OnInitialUpdate()
{
    Load();
    FormView::OnInitialUpdate();
    SetButtonIcon(Control<QPushButton>(kCopyButton), kCopyIcon);
    SetButtonIcon(Control<QPushButton>(kPreviewButton), kPreviewIcon);
    SetButtonIcon(Control<QPushButton>(kFileButton), kFileIcon);
    OnReadFromFileClicked();
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
    Control<QPushButton>(kDetailsButton)->setEnabled(m_readFromFile == 1);
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
    DocOutputs(doc, this).CreateHtmlFile(doc.htmlFilePath, true, false);
}
