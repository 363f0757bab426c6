#include "pages/ViewResponses.h"

ViewResponses::ViewResponses(Doc& doc, QWidget* parent)
    : FormView(2801, doc, parent, 2847)
{
}

bool ViewResponses::Commit()
{
    return UpdateData(true);
}

void ViewResponses::Exchange(DataExchange&) { }
