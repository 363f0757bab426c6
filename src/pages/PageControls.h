#pragma once

#include <QByteArray>

class History;
class QAbstractButton;
class QComboBox;

// Small control chores that several pages and dialogs share.

// Shows image resource iconId on the button, sized to fit inside it.
void SetButtonIcon(QAbstractButton* button, int iconId);

// Replaces the combo's list with the non-empty entries of history, newest first (a sorted combo
// shows them sorted), then sets its edit field to text exactly.
void ShowHistoryInCombo(QComboBox* combo, const History& history, const QByteArray& text);
