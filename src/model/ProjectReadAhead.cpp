#include "model/ProjectReadAhead.h"

#include <QFileInfo>
#include <QThread>

#include <new>

ProjectReadAhead::ProjectReadAhead(const QString& path)
    : m_path(QFileInfo(path).absoluteFilePath())
{
    // The thread object is made here, so that this thread is known to Qt before the new one: Qt
    // takes the first thread it meets for the main thread.
    m_thread.reset(QThread::create([this] {
        try {
            m_loaded = LoadedProject::Read(m_path);
        } catch (const std::bad_alloc&) {
            // MoveInto reads again, and reports what that finds.
        }
    }));
    m_thread->start();
}

ProjectReadAhead::~ProjectReadAhead()
{
    m_thread->wait();
}

FileResult ProjectReadAhead::MoveInto(Doc& doc)
{
    m_thread->wait();
    if (!m_loaded)
        return LoadProject(doc, m_path);
    const FileResult result = m_loaded->MoveInto(doc);
    m_loaded.reset();
    return result;
}
