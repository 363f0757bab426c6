#include "pages/PageControls.h"

#include "model/BoxKind.h"
#include "model/Doc.h"
#include "pages/History.h"

#include <QComboBox>

void ShowHistoryInCombo(QComboBox* combo, const History& history, const QByteArray& text)
{
    combo->clear();
    for (const QByteArray& entry : history.Entries()) {
        if (!entry.isEmpty())
            combo->addItem(QString::fromLocal8Bit(entry));
    }
    combo->setEditText(QString::fromLocal8Bit(text));
}

DataExchange::TextCheck ModernBoxCheck(
    const Doc& doc, std::optional<QByteArray> (*refusal)(const QByteArray& text))
{
    return [&doc, refusal](const QByteArray& text) {
        return UsesModernBox(doc.boxKind) ? refusal(text) : std::nullopt;
    };
}
