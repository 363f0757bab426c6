#pragma once

#include "forms/MemberAreaDialogForm.h"
#include "framework/DialogBase.h"
#include "model/MemberArea.h"

#include <QByteArrayList>

#include <optional>

// Edits one member area: its name and the patterns of the site's files it holds, one a line,
// with the number of the site folder's files each pattern holds as it is typed. OK refuses an
// empty name, a name another area has and a pattern that would leave the site folder; a pattern
// that holds nothing is taken as it is.
class DialogMemberArea : public DialogBase
{
    Q_OBJECT

public:
    // siteFolder: the absolute site folder whose files are counted, empty when there is none;
    // otherNames: the names of the project's other areas.
    DialogMemberArea(
        const QByteArray& siteFolder, QByteArrayList otherNames, QWidget* parent = nullptr);

    // The area shown when the dialog opens, and the one confirmed after OK.
    void SetArea(const MemberArea& area);
    const MemberArea& Area() const { return m_area; }

protected:
    void Exchange(DataExchange& exchange) override;
    void OnInitDialog() override;
    void OnOK() override;

private:
    // The match list for the patterns now in the edit.
    void ShowMatches();

    const MemberAreaDialogForm m_ui;
    const QByteArrayList m_otherNames;
    const QByteArray m_siteFolder;
    // The site folder's files; nothing when there is no folder or it cannot be read.
    const std::optional<QByteArrayList> m_siteFiles;
    MemberArea m_area;
    // As displayed: one pattern a line, CR LF between them.
    QByteArray m_patternsText;
};

// The patterns of a multi-line text: its lines, without blank ones.
QByteArrayList PatternLines(const QByteArray& text);
