#pragma once

#include "forms/GeneralPageForm.h"
#include "framework/FormView.h"

// The General page: the login box's size, label texts, initial message and tries.
class ViewGeneral : public FormView
{
    Q_OBJECT

public:
    explicit ViewGeneral(Doc& doc, QWidget* parent = nullptr);

private:
    const GeneralPageForm m_ui;
};
