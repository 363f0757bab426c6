#pragma once

#include "util/ResourceText.h"

#include <QString>
#include <QStringList>

// A string-table entry as the widgets show it.
inline QString ResourceString(int id)
{
    return QString::fromLocal8Bit(LoadResourceText(id));
}

// The texts of an entry that lists several, one a line.
inline QStringList ResourceStringLines(int id)
{
    return ResourceString(id).split(QLatin1Char('\n'));
}
