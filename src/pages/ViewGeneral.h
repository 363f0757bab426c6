#pragma once

#include "forms/GeneralPageForm.h"
#include "framework/FormView.h"

#include <QByteArray>

#include <cstdint>

// The General page: the login box's size, label texts, initial message and tries.
class ViewGeneral : public FormView
{
    Q_OBJECT

public:
    explicit ViewGeneral(Doc& doc, QWidget* parent = nullptr);

    void OnInitialUpdate() override;
    // Stores every value taken before a refused one, so a refusal never loses earlier edits.
    bool Commit() override;

protected:
    void Exchange(DataExchange& exchange) override;

private:
    void Load();

    const GeneralPageForm m_ui;

    std::int32_t m_width = 0;
    std::int32_t m_height = 0;
    // As displayed, with CR LF line breaks.
    QByteArray m_initialMessage;
    QByteArray m_loginLabel;
    QByteArray m_passwordLabel;
    QByteArray m_userLabel;
    std::int32_t m_tries = 0;
};
