#pragma once

#include "framework/FormView.h"

// The Preview page: the generated page shown in an embedded browser.
class ViewPreview : public FormView
{
    Q_OBJECT

public:
    explicit ViewPreview(Doc& doc, QWidget* parent = nullptr);

    bool Commit() override;

protected:
    void Exchange(DataExchange& exchange) override;
};
