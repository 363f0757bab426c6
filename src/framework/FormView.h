#pragma once

#include "framework/FieldBindings.h"
#include "framework/FormHost.h"

#include <QWidget>

// A page of the main window, built from its page template and bound to the one project document.
// The page keeps copies of the fields it edits, bound once to their controls in its constructor
// (Fields): it loads them in OnInitialUpdate (after every New and Open) and writes them back in
// Commit, which the shell calls before anything leaves the page.
class FormView : public QWidget
{
    Q_OBJECT

public:
    // panelId names the hidden placeholder where the picture panel is drawn.
    FormView(int templateId, Doc& doc, QWidget* parent, int panelId = FormHost::kNoPanel);
    ~FormView() override;

    Doc& Document() const { return m_doc; }

    // Runs the page's Exchange in one direction; false when a value was refused.
    bool UpdateData(bool saveAndValidate);

    // The framework's initial update: loads the bound fields from the document and pushes the
    // page's values to the controls. Pages load copies of their own first, then call this.
    virtual void OnInitialUpdate();
    // Pushes the page's current values back to the controls, without reloading the document.
    virtual void OnUpdate();
    // Takes every value from the controls and writes the bound fields into the document, those
    // taken before a refused value included; false keeps the user on the page.
    virtual bool Commit();

protected:
    FieldBindings& Fields() { return m_fields; }
    const FieldBindings& Fields() const { return m_fields; }

    // Names the page's controls and variables in exchange order: the bound fields, unless the
    // page exchanges more.
    virtual void Exchange(DataExchange& exchange);

    void paintEvent(QPaintEvent* event) override;

private:
    Doc& m_doc;
    FormHost m_host;
    FieldBindings m_fields;
};
