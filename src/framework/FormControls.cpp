#include "framework/FormControls.h"

QWidget* FormBinder::Find(const char* name) const
{
    return m_form.findChild<QWidget*>(QLatin1String(name), Qt::FindDirectChildrenOnly);
}

void FormBinder::Refuse(const char* name, const QWidget* found, const char* expectedClass)
{
    m_faults.append(found
            ? QStringLiteral("%1 is a %2, not a %3")
                  .arg(QLatin1String(name), QLatin1String(found->metaObject()->className()),
                      QLatin1String(expectedClass))
            : QStringLiteral("%1 is missing").arg(QLatin1String(name)));
}
