#pragma once

#include "forms/AllForms.h"

#include <gtest/gtest.h>

// The controls of a form built from Form's template; a missing or mistyped one fails the test.
template<class Form> Form ControlsOf(const QWidget& form)
{
    QStringList faults;
    Form controls = BindForm<Form>(form, faults);
    EXPECT_TRUE(faults.isEmpty()) << Form::kName << ": "
                                  << faults.join(QLatin1String("; ")).toStdString();
    return controls;
}
