#include "pages/ViewGeneral.h"

ViewGeneral::ViewGeneral(Doc& doc, QWidget* parent)
    : FormView(1900, doc, parent, 121)
{
}

bool ViewGeneral::Commit()
{
    return UpdateData(true);
}

void ViewGeneral::Exchange(DataExchange&) { }
