#include "pages/ViewGeneral.h"

#include "framework/FieldCommit.h"
#include "framework/UpDown.h"
#include "model/Doc.h"
#include "util/TextUtil.h"

namespace {

constexpr int kWidthEdit = 1901;
constexpr int kHeightEdit = 1902;
constexpr int kUserLabelEdit = 2836;
constexpr int kPasswordLabelEdit = 2837;
constexpr int kLoginLabelEdit = 2838;
constexpr int kInitialMessageEdit = 2840;
constexpr int kTriesEdit = 1920;
constexpr int kTriesUpDown = 1917;

constexpr std::int32_t kMinimumSize = 1;
constexpr std::int32_t kMaximumSize = 5000;
constexpr std::int32_t kMinimumTries = 1;
constexpr std::int32_t kMaximumTries = 10;

} // namespace

ViewGeneral::ViewGeneral(Doc& doc, QWidget* parent)
    : FormView(1900, doc, parent, 121)
{
}

void ViewGeneral::Exchange(DataExchange& exchange)
{
    exchange.Integer(kWidthEdit, m_width, kMinimumSize, kMaximumSize);
    exchange.Integer(kHeightEdit, m_height, kMinimumSize, kMaximumSize);
    exchange.Text(kInitialMessageEdit, m_initialMessage);
    exchange.Text(kLoginLabelEdit, m_loginLabel);
    exchange.Text(kPasswordLabelEdit, m_passwordLabel);
    exchange.Text(kUserLabelEdit, m_userLabel);
    exchange.Integer(kTriesEdit, m_tries, kMinimumTries, kMaximumTries);
}

void ViewGeneral::OnInitialUpdate()
{
    Load();
    FormView::OnInitialUpdate();
    Control<UpDown>(kTriesUpDown)->setRange(kMinimumTries, kMaximumTries);
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
