#include "pages/ViewAppearance.h"

ViewAppearance::ViewAppearance(Doc& doc, QWidget* parent)
    : FormView(1000, doc, parent, 1011)
{
}

bool ViewAppearance::Commit()
{
    return UpdateData(true);
}

void ViewAppearance::Exchange(DataExchange&) { }
