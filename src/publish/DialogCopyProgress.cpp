#include "publish/DialogCopyProgress.h"

#include <QCoreApplication>
#include <QMovie>

DialogCopyProgress::DialogCopyProgress(int fileCount, QWidget* parent)
    : DialogBase(CopyProgressDialogForm::kTemplateId, parent)
    , m_ui(FormControls<CopyProgressDialogForm>(*this))
    , m_animation(new QMovie(QStringLiteral(":/images/anim107.gif"), QByteArray(), this))
    , m_fileCount(fileCount)
{
    setModal(false);
    m_ui.progressBar->setRange(0, m_fileCount);
    m_ui.progressBar->setValue(0);
    // The clip loops by itself for as long as the window is open.
    m_ui.animation->setMovie(m_animation);
    m_animation->start();
}

void DialogCopyProgress::SetText(const QByteArray& text)
{
    m_text = text;
    QCoreApplication::processEvents();
    UpdateData(false);
}

void DialogCopyProgress::SetPosition(int index)
{
    QCoreApplication::processEvents();
    m_ui.progressBar->setValue(index);
}

bool DialogCopyProgress::KeepGoing()
{
    QCoreApplication::processEvents();
    return !m_cancelled;
}

void DialogCopyProgress::reject()
{
    m_cancelled = true;
    DialogBase::reject();
}

void DialogCopyProgress::Exchange(DataExchange& exchange)
{
    exchange.Text(m_ui.fileText, m_text);
}
