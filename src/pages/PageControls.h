#pragma once

#include "framework/DataExchange.h"

#include <QByteArray>

#include <optional>

class Doc;
class History;
class QComboBox;

// Small control chores that several pages and dialogs share.

// Replaces the combo's list with the non-empty entries of history, newest first (a sorted combo
// shows them sorted), then sets its edit field to text exactly.
void ShowHistoryInCombo(QComboBox* combo, const History& history, const QByteArray& text);

// A text check that refuses as refusal does while doc's box kind carries the modern box, which
// follows only what refusal takes; with the applet alone it takes every text.
DataExchange::TextCheck ModernBoxCheck(
    const Doc& doc, std::optional<QByteArray> (*refusal)(const QByteArray& text));
