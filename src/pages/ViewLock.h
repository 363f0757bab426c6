#pragma once

#include "framework/FormView.h"

// The Locks page: the lock table and the case and encryption options.
class ViewLock : public FormView
{
    Q_OBJECT

public:
    explicit ViewLock(Doc& doc, QWidget* parent = nullptr);

    bool Commit() override;

protected:
    void Exchange(DataExchange& exchange) override;
};
