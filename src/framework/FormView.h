#pragma once

#include "framework/FormHost.h"

#include <QWidget>

class Doc;

// A page of the main window, built from its page template and bound to the one project document.
// The page keeps copies of the fields it edits: it loads them in OnInitialUpdate (after every New
// and Open) and writes them back in Commit, which the shell calls before anything leaves the page.
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

    // The framework's initial update: pushes the page's values to the controls. Pages load their
    // copies from the document first, then call this.
    virtual void OnInitialUpdate();
    // Pushes the page's current values back to the controls, without reloading the document.
    virtual void OnUpdate();
    // Writes the page's values into the document; false keeps the user on the page.
    virtual bool Commit() = 0;

protected:
    // Names the page's controls and variables in exchange order.
    virtual void Exchange(DataExchange& exchange) = 0;

    void paintEvent(QPaintEvent* event) override;

private:
    Doc& m_doc;
    FormHost m_host;
};
