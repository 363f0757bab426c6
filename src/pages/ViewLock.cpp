#include "pages/ViewLock.h"

ViewLock::ViewLock(Doc& doc, QWidget* parent)
    : FormView(1600, doc, parent, 121)
{
}

bool ViewLock::Commit()
{
    return UpdateData(true);
}

void ViewLock::Exchange(DataExchange&) { }
