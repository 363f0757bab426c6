#pragma once

#include "forms/CopyProgressDialogForm.h"
#include "framework/DialogBase.h"

#include <QByteArray>

class QMovie;

// The small modeless window shown while the publish copy runs: a looping animation, the file in
// hand, a bar at i of n and Cancel. Each update first lets pending events run, so the window
// repaints and Cancel is seen although the copy runs on the same thread.
class DialogCopyProgress : public DialogBase
{
    Q_OBJECT

public:
    DialogCopyProgress(int fileCount, QWidget* parent);

    void SetText(const QByteArray& text);
    void SetPosition(int index);
    // Set once the user pressed Cancel (or closed the window).
    bool IsCancelled() const { return m_cancelled; }
    // Lets pending events run during a long copy; false once the user cancelled.
    bool KeepGoing();

    void reject() override;

protected:
    void Exchange(DataExchange& exchange) override;

private:
    const CopyProgressDialogForm m_ui;
    bool m_cancelled = false;
    QMovie* m_animation;
    QByteArray m_text;
    int m_fileCount;
};
