#pragma once

#include "framework/DialogTemplate.h"
#include "framework/DialogUnits.h"

#include <QWidget>

// Makes the widgets of one template inside a form: every control a direct child of the form, in
// template order (which is also the tab order), named by its name in the template, placed in pixels
// mapped from dialog units of the template's font. Group boxes are sibling frames, not parents;
// radio buttons are exclusive within their group (a group starts at a control with the "group"
// style). Combos with the "sort" style keep their list sorted, ignoring case, as entries are added.
class TemplateBuilder
{
public:
    explicit TemplateBuilder(const DialogTemplate& dialogTemplate);

    const DialogTemplate& Template() const { return m_template; }
    const QFont& Font() const { return m_font; }
    const DialogUnits& Units() const { return m_units; }
    // The form's size in pixels.
    QSize FormSize() const;

    // Creates the controls in form and gives the form the template's font and a fixed size.
    void Build(QWidget* form) const;
    // The control that Build made in form for the template's control with the given numeric id;
    // nullptr when there is none.
    QWidget* ControlWithId(const QWidget& form, int id) const;

private:
    QWidget* CreateControl(const TemplateControl& control, QWidget* form) const;

    DialogTemplate m_template;
    QFont m_font;
    DialogUnits m_units;
};
