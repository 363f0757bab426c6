#include "pages/ViewGenerate.h"

ViewGenerate::ViewGenerate(Doc& doc, QWidget* parent)
    : FormView(1700, doc, parent, 121)
{
}

bool ViewGenerate::Commit()
{
    return UpdateData(true);
}

void ViewGenerate::Exchange(DataExchange&) { }
