#include "pages/PageControls.h"

#include "framework/AppState.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QIcon>

#include <algorithm>

namespace {

// Room left around an icon so that the button's frame stays visible.
constexpr int kFrameMargin = 6;

} // namespace

void SetButtonIcon(QAbstractButton* button, int iconId)
{
    const QIcon icon(QStringLiteral(":/images/icon%1.png").arg(iconId));
    button->setIcon(icon);
    // Drawn at its own size (no blurry scaling up) unless the button is too small for it.
    const QList<QSize> sizes = icon.availableSizes();
    const int natural = sizes.isEmpty() ? 0 : sizes.first().width();
    const int side
        = std::min({ natural, button->width() - kFrameMargin, button->height() - kFrameMargin });
    button->setIconSize(QSize(side, side));
}

void ShowHistoryInCombo(QComboBox* combo, const History& history, const QByteArray& text)
{
    combo->clear();
    for (const QByteArray& entry : history.Entries()) {
        if (!entry.isEmpty())
            combo->addItem(QString::fromLocal8Bit(entry));
    }
    combo->setEditText(QString::fromLocal8Bit(text));
}
