#pragma once

#include "framework/FormView.h"

// The Generate page: reading locks from a file and the three outputs.
class ViewGenerate : public FormView
{
    Q_OBJECT

public:
    explicit ViewGenerate(Doc& doc, QWidget* parent = nullptr);

    bool Commit() override;

protected:
    void Exchange(DataExchange& exchange) override;
};
