#pragma once

#include "framework/FieldBindings.h"
#include "framework/FormHost.h"

#include <QDialog>

// A dialog built from its template, modal unless told otherwise. Each time it is shown,
// OnInitDialog pushes its values to the controls; OK (button 1, or Enter on the default button)
// pulls them with validation and stays open on a refused value; Cancel (button 2, Escape, the
// close box) closes without taking anything. Fields bound in the constructor (Fields) are copies
// of the values given to EditValuesOf, loaded at each showing and handed back on OK only.
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

    // The values the bound fields show, and where OK puts them (a page's copies); without them
    // the fields show their defaults and OK keeps them.
    void EditValuesOf(Doc& values) { m_values = &values; }

protected:
    FieldBindings& Fields() { return m_fields; }

    // Names the dialog's controls and variables in exchange order: the bound fields, unless the
    // dialog exchanges more.
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
    FieldBindings m_fields;
    Doc* m_values = nullptr;
    bool m_initialised = false;
};
