#include "preview/ViewPreview.h"

#include "framework/WaitCursor.h"
#include "generate/PublishPlan.h"
#include "model/Doc.h"
#include "preview/PreviewBrowserLoader.h"
#include "publish/DocOutputs.h"
#include "publish/PreviewServer.h"
#include "publish/ProjectState.h"
#include "util/PreviewDirectory.h"
#include "util/ResourceText.h"
#include "util/StringIds.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

const char kBlankPage[] = "<HTML>\n<HEAD>\n</HEAD>\n</HTML>";

// What the status bar says instead of going where a login leads: "Lock for ann: members/a.html
// in _top", or the fail URL. No target is the box's own window.
QString NavigationText(const PreviewNavigation& navigation)
{
    const QString target
        = navigation.target.isEmpty() ? QStringLiteral("_self") : navigation.target;
    if (navigation.user.isEmpty())
        return QString::fromLocal8Bit(LoadResourceText(IDS_PREVIEW_FAIL_URL_OPENS))
            .arg(navigation.url, target);
    return QString::fromLocal8Bit(LoadResourceText(IDS_PREVIEW_LOCK_OPENS))
        .arg(navigation.user, navigation.url, target);
}

// "Incorrect: try 2 of 5", so that the status bar never keeps an earlier login's line.
QString IncorrectTryText(const PreviewIncorrectTry& attempt)
{
    return QString::fromLocal8Bit(LoadResourceText(IDS_PREVIEW_INCORRECT_TRY))
        .arg(attempt.tryNumber)
        .arg(attempt.tries);
}

// Where a lock's URL leads when it is a file of the site folder: its address on the preview
// server, beside the preview page as a publish puts it beside the page. Empty for any other
// address (another site, a file the site folder lacks) and while the server is not serving.
QUrl SitePageAddress(const Doc& doc, const QByteArray& projectPath, const QString& url)
{
    const QByteArray site = ResolveSiteFolder(doc, projectPath);
    const QUrl box = PreviewAddress(QFile::decodeName(PreviewPageName()));
    if (site.isEmpty() || box.scheme() != QLatin1String("http"))
        return {};
    const QUrl target = box.resolved(QUrl(url));
    if (target.scheme() != box.scheme() || target.authority() != box.authority())
        return {};
    QString relative = target.path().mid(1);
    if (relative.isEmpty() || relative.endsWith(QLatin1Char('/')))
        relative += QStringLiteral("index.html");
    if (relative.split(QLatin1Char('/')).contains(QStringLiteral("..")))
        return {};
    if (!QFileInfo(QDir(QFile::decodeName(site)).filePath(relative)).isFile())
        return {};
    return target;
}

} // namespace

ViewPreview::ViewPreview(Doc& doc, ProjectState& project, QWidget* parent)
    : FormView(PreviewPageForm::kTemplateId, doc, parent)
    , m_project(project)
    , m_ui(FormControls<PreviewPageForm>(*this))
{
    connect(m_ui.refreshButton, &QPushButton::clicked, this, &ViewPreview::RefreshPreviewPage);
    connect(m_ui.blankButton, &QPushButton::clicked, this, &ViewPreview::ShowBlankPage);
    connect(m_ui.backButton, &QPushButton::clicked, this, &ViewPreview::ShowLoginBox);
}

ViewPreview::~ViewPreview() = default;

void ViewPreview::OnInitialUpdate()
{
    FormView::OnInitialUpdate();
    m_initialUpdatePending = true;
    if (isVisible())
        CompleteInitialUpdate();
}

void ViewPreview::CompleteInitialUpdate()
{
    if (!m_initialUpdatePending)
        return;
    m_initialUpdatePending = false;
    if (!m_browser) {
        WaitCursor wait;
        m_browser = CreatePreviewBrowser(this);
        if (m_browser) {
            m_browser->SetStatusHandler(
                [this](const QString& text) { emit statusTextChanged(text); });
            m_browser->SetNavigationHandler(
                [this](const PreviewNavigation& navigation) { OnNavigation(navigation); });
            m_browser->SetIncorrectTryHandler([this](const PreviewIncorrectTry& attempt) {
                emit statusTextChanged(IncorrectTryText(attempt));
            });
            PlaceBrowser();
            m_browser->Widget()->show();
        }
    }
    const bool available = m_browser != nullptr;
    m_ui.browserPlace->setVisible(!available);
    m_ui.refreshButton->setEnabled(available);
    m_ui.blankButton->setEnabled(available);
    ShowBlankPage();
}

bool ViewPreview::Commit()
{
    return UpdateData(true);
}

void ViewPreview::RefreshPreviewPage()
{
    CompleteInitialUpdate();
    UpdateData(true);
    if (!m_browser)
        return;
    // The browser runs no Java: the page with both boxes shows the modern one where the applet
    // would be.
    // Through the preview server, as the page and its member pages would come from the site.
    if (DocOutputs(Document(), m_project, this).WritePreviewPage(BoxKind::Both))
        ShowLoginBox();
}

void ViewPreview::ShowLoginBox()
{
    Show(PreviewAddress(QFile::decodeName(PreviewPageName())), false);
}

void ViewPreview::OnNavigation(const PreviewNavigation& navigation)
{
    emit statusTextChanged(NavigationText(navigation));
    // The fail URL is no member's page.
    if (navigation.user.isEmpty())
        return;
    const QUrl page = SitePageAddress(Document(), m_project.filePath, navigation.url);
    if (!page.isEmpty())
        Show(page, true);
}

void ViewPreview::Show(const QUrl& url, bool memberPage)
{
    m_ui.backButton->setVisible(memberPage);
    m_browser->Navigate(url);
}

void ViewPreview::ShowBlankPage()
{
    if (!m_browser)
        return;
    const QByteArray folder = PreviewDirectory();
    if (folder.isEmpty())
        return;
    const QByteArray blank = folder + "blank.html";
    // An existing blank page is shown as it is.
    if (!QFileInfo::exists(QFile::decodeName(blank))
        && !DocOutputs(Document(), m_project, this).WriteFile(blank, kBlankPage))
        return;
    Show(PreviewAddress(QStringLiteral("blank.html")), false);
}

void ViewPreview::Exchange(DataExchange&) { }

void ViewPreview::resizeEvent(QResizeEvent* event)
{
    FormView::resizeEvent(event);
    PlaceBrowser();
}

void ViewPreview::showEvent(QShowEvent* event)
{
    FormView::showEvent(event);
    CompleteInitialUpdate();
    if (!m_browser)
        return;
    m_browser->Widget()->setEnabled(true);
    m_browser->Widget()->setFocus();
}

void ViewPreview::PlaceBrowser()
{
    if (m_browser)
        m_browser->Widget()->setGeometry(m_ui.browserPlace->geometry());
}
