#include "pages/PageControls.h"

#include "framework/AppState.h"

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
