#include "publish/DialogCopyProgress.h"

#include <QCoreApplication>
#include <QLabel>
#include <QMovie>
#include <QProgressBar>

namespace {

constexpr int kIdAnimation = 2301;
constexpr int kIdProgress = 2302;
constexpr int kIdText = 2303;

} // namespace

DialogCopyProgress::DialogCopyProgress(int fileCount, QWidget* parent)
    : DialogBase(2300, parent)
    , m_progress(Control<QProgressBar>(kIdProgress))
    , m_animation(new QMovie(QStringLiteral(":/images/anim107.gif"), QByteArray(), this))
    , m_fileCount(fileCount)
{
    setModal(false);
    m_progress->setRange(0, m_fileCount);
    m_progress->setValue(0);
    // The clip loops by itself for as long as the window is open.
    if (auto* animation = Control<QLabel>(kIdAnimation)) {
        animation->setMovie(m_animation);
        m_animation->start();
    }
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
    m_progress->setValue(index);
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
    exchange.Text(kIdText, m_text);
}
