#include "pages/History.h"

void History::AddFront(const QByteArray& value)
{
    if (m_entries.empty() || m_entries.front() != value)
        m_entries.insert(m_entries.begin(), value);
}
