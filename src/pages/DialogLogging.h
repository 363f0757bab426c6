#pragma once

#include "forms/LoggingDialogForm.h"
#include "framework/DialogBase.h"

#include <QByteArray>

// The e-mail logging settings: the SMTP host and the addresses told of successful and failed
// logins. Any text is accepted; nothing is remembered beyond the page's copies.
struct LoggingSettings
{
    QByteArray mailHost;
    QByteArray successEmail;
    QByteArray failEmail;
};

class DialogLogging : public DialogBase
{
    Q_OBJECT

public:
    explicit DialogLogging(QWidget* parent = nullptr);

    // The settings shown when the dialog opens, and the ones confirmed after OK.
    void SetSettings(const LoggingSettings& settings) { m_settings = settings; }
    const LoggingSettings& Settings() const { return m_settings; }

protected:
    void Exchange(DataExchange& exchange) override;

private:
    const LoggingDialogForm m_ui;
    LoggingSettings m_settings;
};
