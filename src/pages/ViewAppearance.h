#pragma once

#include "framework/FormView.h"

// The Appearance page: colours, spacing, margin, font and border.
class ViewAppearance : public FormView
{
    Q_OBJECT

public:
    explicit ViewAppearance(Doc& doc, QWidget* parent = nullptr);

    bool Commit() override;

protected:
    void Exchange(DataExchange& exchange) override;
};
