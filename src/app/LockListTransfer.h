#pragma once

#include <QString>

class Doc;
class QWidget;

// File > Import Locks and Export Locks: the lock list to and from a spreadsheet's CSV, asking
// through the prompt service. An import changes the document's list whole or not at all.
class LockListTransfer
{
public:
    LockListTransfer(Doc& doc, QWidget* owner);

    // Asks for a file, whether to replace a list that is not empty and whether to give members
    // without a password a random one, then imports it; after new passwords, offers to export the
    // list. A refused file shows the line and the reason. True when the list changed.
    bool Import();

    // Asks for a file name and writes the list there; true when it was written.
    bool Export();

    // What the last import did, for the status bar.
    QString Summary() const { return m_summary; }

private:
    Doc& m_doc;
    QWidget* m_owner;
    QString m_summary;
};
