#pragma once

#include "framework/DataExchange.h"
#include "framework/FieldCommit.h"
#include "model/Doc.h"
#include "model/FieldControl.h"

#include <QComboBox>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <memory>
#include <vector>

class UpDown;

// The stored fields a page or a dialog edits, each bound once to its control. The form keeps a
// copy of each: Load takes the copies from the values the form edits (the document, or for a
// dialog the page's copies), Exchange moves them to and from the controls in the order they were
// bound, as the field tables say (a number refused outside its range with the exchange's
// messages), and Commit writes them back, marking the target modified only for values that differ.
class FieldBindings
{
public:
    FieldBindings();
    ~FieldBindings();
    FieldBindings(const FieldBindings&) = delete;
    FieldBindings& operator=(const FieldBindings&) = delete;

    // The field edited in control as its kind says: a number in an edit or an editable combo
    // (arrows, when given, step within its range), a choice in a list's selected entry, a flag in
    // a check box, a text in an edit or a combo (a line-broken text on its lines), a colour in a
    // colour button.
    void Field(QWidget* control, const DocMember& member, UpDown* arrows = nullptr);
    // A text that check may refuse, with its message; the copy then keeps its value.
    void Field(QWidget* control, QByteArray Doc::*member, DataExchange::TextCheck check);
    // An enumeration chosen in a list whose entries stand for order's values, in that order; a
    // value not in order shows no entry, and no entry leaves the field as it was.
    template<class Enum, std::size_t N>
    void Choice(QComboBox* list, Enum Doc::*member, const Enum (&order)[N]);
    // A field the form keeps without a control of its own: a dialog edits the copy.
    void Keep(const DocMember& member);

    // The copies as the controls last gave them; a line-broken text has CR LF line breaks here.
    Doc& Copies() { return m_copies; }
    const Doc& Copies() const { return m_copies; }

    void Load(const Doc& from);
    void Exchange(DataExchange& exchange);
    void Commit(Doc& into);

    // One bound field: what it does at each of the three steps.
    class Binding
    {
    public:
        virtual ~Binding() = default;
        virtual void Load(const Doc& from, Doc& copies) = 0;
        virtual void Exchange(DataExchange& exchange, Doc& copies) = 0;
        virtual void Commit(const Doc& copies, FieldCommit& commit, Doc& into) = 0;
    };

private:
    template<class Enum, std::size_t N> class EnumChoice;
    class TableField;

    void Bind(std::unique_ptr<TableField> binding);

    Doc m_copies;
    std::vector<std::unique_ptr<Binding>> m_bindings;
};

template<class Enum, std::size_t N> class FieldBindings::EnumChoice : public Binding
{
public:
    EnumChoice(QComboBox* list, Enum Doc::*member, const Enum (&order)[N])
        : m_list(list)
        , m_member(member)
        , m_order(order)
    {
    }

    void Load(const Doc& from, Doc&) override
    {
        m_index = std::int32_t(std::find(m_order, m_order + N, from.*m_member) - m_order);
    }

    void Exchange(DataExchange& exchange, Doc&) override { exchange.ComboIndex(m_list, m_index); }

    void Commit(const Doc&, FieldCommit& commit, Doc& into) override
    {
        if (m_index >= 0 && m_index < std::int32_t(N))
            commit.Field(into.*m_member, m_order[m_index]);
    }

private:
    QComboBox* m_list;
    Enum Doc::*m_member;
    const Enum (&m_order)[N];
    std::int32_t m_index = -1;
};

template<class Enum, std::size_t N>
void FieldBindings::Choice(QComboBox* list, Enum Doc::*member, const Enum (&order)[N])
{
    m_bindings.push_back(std::make_unique<EnumChoice<Enum, N>>(list, member, order));
}
