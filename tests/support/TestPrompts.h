#pragma once

#include "support/ScriptedPrompts.h"

#include <gtest/gtest.h>

// Scripted prompts whose unexpected questions, and answers never asked for, fail the running test.
class TestPrompts : public ScriptedPrompts
{
public:
    TestPrompts()
        : ScriptedPrompts(
            [](const QString& description) { ADD_FAILURE() << description.toStdString(); })
    {
    }
};
