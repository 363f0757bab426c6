#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

// Fills the typed control pointers of a form struct made from a template (FORMAT.md in
// resources/templates) with the controls the template builder made, found by name among the
// form's direct children.
class FormBinder
{
public:
    explicit FormBinder(const QWidget& form)
        : m_form(form)
    {
    }

    template<class T> void operator()(T*& control, const char* name)
    {
        QWidget* widget = Find(name);
        control = qobject_cast<T*>(widget);
        if (!control)
            Refuse(name, widget, T::staticMetaObject.className());
    }

    // One line for each control that is missing or of another class than the struct says.
    const QStringList& Faults() const { return m_faults; }

private:
    QWidget* Find(const char* name) const;
    void Refuse(const char* name, const QWidget* found, const char* expectedClass);

    const QWidget& m_form;
    QStringList m_faults;
};

// The controls of a built form as Form names them; faults lists what did not fit.
template<class Form> Form BindForm(const QWidget& form, QStringList& faults)
{
    Form controls;
    FormBinder binder(form);
    controls.BindEach(binder);
    faults = binder.Faults();
    return controls;
}

// The controls of a form built from Form's own template, where a fault is a programming error:
// debug builds stop on it.
template<class Form> Form FormControls(const QWidget& form)
{
    QStringList faults;
    Form controls = BindForm<Form>(form, faults);
    Q_ASSERT_X(faults.isEmpty(), Form::kName, qPrintable(faults.join(QLatin1String("; "))));
    return controls;
}
