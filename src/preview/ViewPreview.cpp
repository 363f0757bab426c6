#include "preview/ViewPreview.h"

ViewPreview::ViewPreview(Doc& doc, QWidget* parent)
    : FormView(1800, doc, parent)
{
}

bool ViewPreview::Commit()
{
    return UpdateData(true);
}

void ViewPreview::Exchange(DataExchange&) { }
