#pragma once

#include "framework/FormView.h"

// The Responses page: sounds, messages, the fail URL and e-mail logging.
class ViewResponses : public FormView
{
    Q_OBJECT

public:
    explicit ViewResponses(Doc& doc, QWidget* parent = nullptr);

    bool Commit() override;

protected:
    void Exchange(DataExchange& exchange) override;
};
