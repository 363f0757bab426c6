#pragma once

#include "framework/FormHost.h"

#include <QDialog>

// A dialog built from its template, modal unless told otherwise. Each time it is shown,
// OnInitDialog pushes its values to the controls; OK (button 1, or Enter on the default button)
// pulls them with validation and stays open on a refused value; Cancel (button 2, Escape, the
// close box) closes without taking anything.
class DialogBase : public QDialog
{
    Q_OBJECT

public:
    static constexpr int kIdOk = 1;
    static constexpr int kIdCancel = 2;

    // panelId names the placeholder where the picture panel is drawn, dialog manner.
    explicit DialogBase(
        int templateId, QWidget* parent = nullptr, int panelId = FormHost::kNoPanel);
    ~DialogBase() override;

    // Runs Exchange in one direction; false when a value was refused.
    bool UpdateData(bool saveAndValidate);

    // Qt's accept (OK button, Enter) goes through OnOK.
    void accept() final;

protected:
    // Names the dialog's controls and variables in exchange order; dialogs without values keep
    // the empty default.
    virtual void Exchange(DataExchange& exchange);
    // Runs when the dialog is about to show: pushes the values to the controls.
    virtual void OnInitDialog();
    // Pulls the values with validation and closes with Accepted when all were taken.
    virtual void OnOK();

    void showEvent(QShowEvent* event) override;
    void done(int result) override;
    void paintEvent(QPaintEvent* event) override;

private:
    FormHost m_host;
    bool m_initialised = false;
};
