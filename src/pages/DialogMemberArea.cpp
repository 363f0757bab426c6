#include "pages/DialogMemberArea.h"

#include "framework/Prompts.h"
#include "generate/PublishPlan.h"
#include "model/AreaPattern.h"
#include "util/ResourceText.h"
#include "util/StringIds.h"

#include <QFile>

#include <algorithm>

namespace {

QString Text(int id, const QByteArray& first = {}, const QByteArray& second = {})
{
    return QString::fromLocal8Bit(FormatResourceText(id, first, second));
}

// "members/**: 12 files", or why the pattern holds nothing.
QString MatchLine(const QByteArray& pattern, const QByteArrayList& files)
{
    if (const std::optional<QByteArray> problem = AreaPatternProblem(pattern))
        return Text(IDS_PATTERN_REFUSED, pattern, *problem);
    const auto count = std::count_if(files.begin(), files.end(),
        [&pattern](const QByteArray& file) { return AreaPatternMatches(pattern, file); });
    if (count == 0)
        return Text(IDS_PATTERN_MATCHES_NOTHING, pattern);
    if (count == 1)
        return Text(IDS_PATTERN_ONE_FILE, pattern);
    return Text(IDS_PATTERN_FILES, pattern, QByteArray::number(qlonglong(count)));
}

} // namespace

QByteArrayList PatternLines(const QByteArray& text)
{
    QByteArrayList patterns;
    for (QByteArray line : text.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        if (!line.trimmed().isEmpty())
            patterns.append(line);
    }
    return patterns;
}

DialogMemberArea::DialogMemberArea(
    const QByteArray& siteFolder, QByteArrayList otherNames, QWidget* parent)
    : DialogBase(MemberAreaDialogForm::kTemplateId, parent)
    , m_ui(FormControls<MemberAreaDialogForm>(*this))
    , m_otherNames(std::move(otherNames))
    , m_siteFolder(siteFolder)
    , m_siteFiles(siteFolder.isEmpty() ? std::nullopt : ListSiteFiles(siteFolder))
{
    connect(m_ui.patternsEdit, &QPlainTextEdit::textChanged, this, &DialogMemberArea::ShowMatches);
}

void DialogMemberArea::SetArea(const MemberArea& area)
{
    m_area = area;
    m_patternsText = area.patterns.join("\r\n");
}

void DialogMemberArea::Exchange(DataExchange& exchange)
{
    exchange.Text(m_ui.nameEdit, m_area.name);
    exchange.Text(m_ui.patternsEdit, m_patternsText);
}

void DialogMemberArea::OnInitDialog()
{
    DialogBase::OnInitDialog();
    ShowMatches();
}

void DialogMemberArea::ShowMatches()
{
    m_ui.matchList->clear();
    if (!m_siteFiles) {
        m_ui.matchList->addItem(m_siteFolder.isEmpty()
                ? Text(IDS_NO_SITE_FOLDER)
                : Text(IDS_SITE_FOLDER_UNREADABLE, m_siteFolder));
        return;
    }
    for (const QByteArray& pattern : PatternLines(m_ui.patternsEdit->toPlainText().toLocal8Bit()))
        m_ui.matchList->addItem(MatchLine(pattern, *m_siteFiles));
}

void DialogMemberArea::OnOK()
{
    if (!UpdateData(true))
        return;
    if (m_area.name.trimmed().isEmpty()) {
        ShowResourceMessage(this, IDS_MUST_ENTER_AREA_NAME, PromptIcon::Warning, PromptButtons::Ok);
        FocusWithTextSelected(m_ui.nameEdit);
        return;
    }
    if (m_otherNames.contains(m_area.name)) {
        ShowResourceMessage(
            this, IDS_AREA_NAME_TAKEN, PromptIcon::Warning, PromptButtons::Ok, m_area.name);
        FocusWithTextSelected(m_ui.nameEdit);
        return;
    }
    const QByteArrayList patterns = PatternLines(m_patternsText);
    for (const QByteArray& pattern : patterns) {
        if (const std::optional<QByteArray> problem = AreaPatternProblem(pattern)) {
            ShowResourceMessage(this, IDS_BAD_AREA_PATTERN, PromptIcon::Warning, PromptButtons::Ok,
                pattern, *problem);
            m_ui.patternsEdit->setFocus();
            return;
        }
    }
    m_area.patterns = patterns;
    done(Accepted);
}
