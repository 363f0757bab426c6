#pragma once

#include "forms/LoggingDialogForm.h"
#include "framework/DialogBase.h"

// The e-mail logging settings (mailHost, correctEmail, failEmail of the values it edits): the SMTP
// host and the addresses told of correct and failed logins. Any text is accepted; nothing is
// remembered beyond the page's copies.
class DialogLogging : public DialogBase
{
    Q_OBJECT

public:
    explicit DialogLogging(QWidget* parent = nullptr);

private:
    const LoggingDialogForm m_ui;
};
