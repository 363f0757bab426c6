#pragma once

#include <QByteArray>

class History;
class QComboBox;

// Small control chores that several pages and dialogs share.

// Replaces the combo's list with the non-empty entries of history, newest first (a sorted combo
// shows them sorted), then sets its edit field to text exactly.
void ShowHistoryInCombo(QComboBox* combo, const History& history, const QByteArray& text);
