#pragma once

#include "support/ScriptedPrompts.h"

#include <functional>
#include <gtest/gtest.h>
#include <utility>
#include <vector>

// The prompt service of every GUI test: scripted answers whose unexpected questions, and answers
// never asked for, fail the running test. It can also act when a message is asked, before it is
// answered: press a button elsewhere, repair a file, look at the windows.
class TestPrompts : public ScriptedPrompts
{
public:
    TestPrompts()
        : ScriptedPrompts(
            [](const QString& description) { ADD_FAILURE() << description.toStdString(); })
    {
    }

    // Runs action once, when the message text is first asked.
    void OnMessage(const QString& text, std::function<void()> action)
    {
        m_hooks.push_back({ text, std::move(action) });
    }

    PromptAnswer MessageBox(
        QWidget* owner, const QString& text, PromptIcon icon, PromptButtons buttons) override
    {
        for (auto hook = m_hooks.begin(); hook != m_hooks.end(); ++hook) {
            if (hook->first == text) {
                const std::function<void()> action = hook->second;
                m_hooks.erase(hook);
                action();
                break;
            }
        }
        return ScriptedPrompts::MessageBox(owner, text, icon, buttons);
    }

private:
    std::vector<std::pair<QString, std::function<void()>>> m_hooks;
};
