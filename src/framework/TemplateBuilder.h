#pragma once

#include "framework/DialogTemplate.h"
#include "framework/DialogUnits.h"

#include <QString>
#include <QWidget>

// Makes the widgets of one template inside a form: every control a direct child of the form, in
// template order (which is also the tab order), named by its numeric id, placed in pixels mapped
// from dialog units of the template's font. Group boxes are sibling frames, not parents; radio
// buttons are exclusive within their group (a group starts at a control with the "group" style).
// Combos with the "sort" style keep their list sorted, ignoring case, as entries are added.
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

private:
    QWidget* CreateControl(const TemplateControl& control, QWidget* form) const;

    DialogTemplate m_template;
    QFont m_font;
    DialogUnits m_units;
};

// The control with the given id among the form's direct children; nullptr when there is none or
// it is not a T.
template<class T = QWidget> T* FindControl(const QWidget* form, int id)
{
    return form->findChild<T*>(QString::number(id), Qt::FindDirectChildrenOnly);
}
