#include "framework/FieldBindings.h"

#include "framework/ColourButton.h"
#include "framework/UpDown.h"
#include "util/Overloaded.h"
#include "util/TextUtil.h"

#include <QCheckBox>

// A table field in the control its kind calls for, or kept without one (control null).
class FieldBindings::TableField : public FieldBindings::Binding
{
public:
    TableField(QWidget* control, const DocMember& member, DataExchange::TextCheck check)
        : m_control(control)
        , m_member(member)
        , m_facts(ControlOf(member))
        , m_check(std::move(check))
    {
    }

    void Load(const Doc& from, Doc& copies) override
    {
        std::visit(Overloaded {
                       [&](QByteArray Doc::*text) {
                           copies.*text
                               = LineBroken() ? UnescapeLineBreaks(from.*text) : from.*text;
                       },
                       [&](auto member) { copies.*member = from.*member; },
                   },
            m_member);
    }

    void Exchange(DataExchange& exchange, Doc& copies) override
    {
        if (!m_control)
            return;
        std::visit(
            Overloaded {
                [&](QByteArray Doc::*text) { exchange.Text(m_control, copies.*text, m_check); },
                [&](std::int32_t Doc::*number) { ExchangeNumber(exchange, copies.*number); },
                [&](Colour Doc::*colour) {
                    // Pulled as the user picks it (FieldBindings::Field).
                    if (!exchange.SaveAndValidate() && exchange.Ok())
                        static_cast<ColourButton*>(m_control)->setColour(copies.*colour);
                },
            },
            m_member);
    }

    void Commit(const Doc& copies, FieldCommit& commit, Doc& into) override
    {
        std::visit(Overloaded {
                       [&](QByteArray Doc::*text) {
                           if (LineBroken())
                               commit.MultiLineText(into.*text, copies.*text);
                           else
                               commit.Field(into.*text, copies.*text);
                       },
                       [&](auto member) { commit.Field(into.*member, copies.*member); },
                   },
            m_member);
    }

    // Whether the control is one the field's kind calls for; a kept field has none.
    bool FitsControl() const
    {
        if (!m_control)
            return true;
        switch (m_facts.kind) {
        case FieldKind::Choice:
            return qobject_cast<QComboBox*>(m_control);
        case FieldKind::Flag:
        case FieldKind::FlagAtOne:
            return qobject_cast<QCheckBox*>(m_control);
        case FieldKind::Colour:
            return qobject_cast<ColourButton*>(m_control);
        default:
            return true;
        }
    }

private:
    bool LineBroken() const { return m_facts.kind == FieldKind::LineBrokenText; }

    void ExchangeNumber(DataExchange& exchange, std::int32_t& value) const
    {
        switch (m_facts.kind) {
        case FieldKind::Choice:
            exchange.ComboIndex(static_cast<QComboBox*>(m_control), value);
            break;
        case FieldKind::Flag:
        case FieldKind::FlagAtOne:
            exchange.Check(static_cast<QCheckBox*>(m_control), value);
            break;
        default:
            exchange.Integer(m_control, value, m_facts.range.min, m_facts.range.max);
            break;
        }
    }

    QWidget* m_control;
    DocMember m_member;
    const FieldControl& m_facts;
    DataExchange::TextCheck m_check;
};

FieldBindings::FieldBindings() = default;

FieldBindings::~FieldBindings() = default;

void FieldBindings::Field(QWidget* control, const DocMember& member, UpDown* arrows)
{
    Bind(std::make_unique<TableField>(control, member, nullptr));
    if (auto* colour = std::get_if<Colour Doc::*>(&member)) {
        // A colour is taken when the user picks it, whatever happens to the other values.
        QObject::connect(static_cast<ColourButton*>(control), &ColourButton::colourChanged, control,
            [this, member = *colour](Colour picked) { m_copies.*member = picked; });
    }
    if (arrows) {
        const FieldRange& range = ControlOf(member).range;
        arrows->setRange(range.min, range.max);
    }
}

void FieldBindings::Field(QWidget* control, QByteArray Doc::*member, DataExchange::TextCheck check)
{
    Bind(std::make_unique<TableField>(control, member, std::move(check)));
}

void FieldBindings::Keep(const DocMember& member)
{
    m_bindings.push_back(std::make_unique<TableField>(nullptr, member, nullptr));
}

void FieldBindings::Bind(std::unique_ptr<TableField> binding)
{
    // A field in a control its kind cannot use is a mistake in the form's code.
    if (!binding->FitsControl())
        qFatal("a field is bound to a control that cannot edit it");
    m_bindings.push_back(std::move(binding));
}

void FieldBindings::Load(const Doc& from)
{
    for (const std::unique_ptr<Binding>& binding : m_bindings)
        binding->Load(from, m_copies);
}

void FieldBindings::Exchange(DataExchange& exchange)
{
    for (const std::unique_ptr<Binding>& binding : m_bindings)
        binding->Exchange(exchange, m_copies);
}

void FieldBindings::Commit(Doc& into)
{
    FieldCommit commit(into);
    for (const std::unique_ptr<Binding>& binding : m_bindings)
        binding->Commit(m_copies, commit, into);
}
