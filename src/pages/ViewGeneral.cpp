#include "pages/ViewGeneral.h"

#include "framework/FieldCommit.h"
#include "model/Doc.h"
#include "util/TextUtil.h"

namespace {

constexpr std::int32_t kMinimumSize = 1;
constexpr std::int32_t kMaximumSize = 5000;
constexpr std::int32_t kMinimumTries = 1;
constexpr std::int32_t kMaximumTries = 10;

} // namespace

ViewGeneral::ViewGeneral(Doc& doc, QWidget* parent)
    : FormView(GeneralPageForm::kTemplateId, doc, parent, GeneralPageForm::Id::picturePanel)
    , m_ui(FormControls<GeneralPageForm>(*this))
{
}

void ViewGeneral::Exchange(DataExchange& exchange)
{
    exchange.Integer(m_ui.widthEdit, m_width, kMinimumSize, kMaximumSize);
    exchange.Integer(m_ui.heightEdit, m_height, kMinimumSize, kMaximumSize);
    exchange.Text(m_ui.initialMessageEdit, m_initialMessage);
    exchange.Text(m_ui.loginLabelEdit, m_loginLabel);
    exchange.Text(m_ui.passwordLabelEdit, m_passwordLabel);
    exchange.Text(m_ui.userLabelEdit, m_userLabel);
    exchange.Integer(m_ui.triesEdit, m_tries, kMinimumTries, kMaximumTries);
}

void ViewGeneral::OnInitialUpdate()
{
    Load();
    FormView::OnInitialUpdate();
    m_ui.triesUpDown->setRange(kMinimumTries, kMaximumTries);
}

void ViewGeneral::Load()
{
    const Doc& doc = Document();
    m_width = doc.width;
    m_height = doc.height;
    m_userLabel = doc.userLabel;
    m_passwordLabel = doc.passwordLabel;
    m_loginLabel = doc.loginLabel;
    m_initialMessage = UnescapeLineBreaks(doc.initialMessage);
    m_tries = doc.retries;
}

bool ViewGeneral::Commit()
{
    const bool ok = UpdateData(true);
    Doc& doc = Document();
    FieldCommit commit(doc);
    commit.Field(doc.width, m_width);
    commit.Field(doc.height, m_height);
    commit.Field(doc.userLabel, m_userLabel);
    commit.Field(doc.passwordLabel, m_passwordLabel);
    commit.Field(doc.loginLabel, m_loginLabel);
    commit.MultiLineText(doc.initialMessage, m_initialMessage);
    commit.Field(doc.retries, m_tries);
    return ok;
}
