#include "generate/ParameterBlock.h"

#include "generate/LockLines.h"
#include "model/Doc.h"
#include "model/DocFields.h"
#include "util/Overloaded.h"
#include "util/Paths.h"

#include <algorithm>
#include <vector>

namespace {

// Appends PARAM lines in the two shapes the applet reads: quoted text and bare numbers.
class ParameterLines
{
public:
    void Text(const char* name, const QByteArray& value)
    {
        m_block += "<PARAM NAME=";
        m_block += name;
        m_block += " VALUE=\"";
        m_block += EscapeAttributeQuotes(value);
        m_block += "\">\r\n";
    }

    void Number(const char* name, std::int32_t value) { Bare(name, QByteArray::number(value)); }

    // Six upper-case hexadecimal digits, red first.
    void Colour(const char* name, ::Colour value)
    {
        QByteArray hex;
        for (const int part : { RedOf(value), GreenOf(value), BlueOf(value) })
            hex += QByteArray::number(part, 16).toUpper().rightJustified(2, '0');
        Bare(name, hex);
    }

    void Raw(const QByteArray& lines) { m_block += lines; }

    QByteArray Take() { return std::move(m_block); }

private:
    void Bare(const char* name, const QByteArray& value)
    {
        m_block += "<PARAM NAME=";
        m_block += name;
        m_block += " VALUE=";
        m_block += value;
        m_block += ">\r\n";
    }

    QByteArray m_block;
};

// A scrambled value is random text, in which a browser would decode "&lt/" or "&gt+" as a
// character: every "&" goes to the page as "&amp;". A value left plain keeps the user's own
// references, as typed.
QByteArray ScrambledValue(const Doc& doc, const QByteArray& text)
{
    const QByteArray scrambled = ScrambleText(doc, text);
    return doc.ScramblesLocks() ? EscapeAmpersands(scrambled) : scrambled;
}

// The fields that have a parameter, in the applet's order.
std::vector<const DocField*> FieldsInParameterOrder()
{
    std::vector<const DocField*> fields;
    for (const DocField& field : DocFields) {
        if (field.parameter.value != ParamValue::None)
            fields.push_back(&field);
    }
    std::sort(fields.begin(), fields.end(), [](const DocField* a, const DocField* b) {
        return a->parameter.order < b->parameter.order;
    });
    return fields;
}

void AppendParameter(ParameterLines& lines, const Doc& doc, const DocField& field)
{
    const AppletParameter& parameter = field.parameter;
    if (parameter.value == ParamValue::LockSource) {
        if (doc.ReadsLocksFromFile())
            lines.Text(parameter.name,
                ScrambledValue(doc, FileNamePart(doc.*std::get<QByteArray Doc::*>(field.member))));
        else
            lines.Raw(BuildLockLines(doc, false));
        return;
    }
    if (parameter.value == ParamValue::FontStyle) {
        const int style
            = (FlagIsOn(doc, field) ? 1 : 0) + (FlagIsOn(doc, FieldOf(&Doc::fontItalic)) ? 2 : 0);
        if (style != 1)
            lines.Number(parameter.name, style);
        return;
    }
    if (HoldsDefault(doc, field))
        return;
    std::visit(Overloaded {
                   [&](QByteArray Doc::*member) {
                       const QByteArray& text = doc.*member;
                       switch (parameter.value) {
                       case ParamValue::QuotesEscaped:
                           return lines.Text(parameter.name, EscapeQuotes(text));
                       case ParamValue::Scrambled:
                           return lines.Text(parameter.name, ScrambledValue(doc, text));
                       case ParamValue::NamePartScrambled:
                           return lines.Text(
                               parameter.name, ScrambledValue(doc, FileNamePart(text)));
                       default:
                           return lines.Text(parameter.name, text);
                       }
                   },
                   [&](std::int32_t Doc::*member) {
                       if (parameter.value == ParamValue::Flag)
                           lines.Number(parameter.name, FlagIsOn(doc, field) ? 1 : 0);
                       else
                           lines.Number(parameter.name, doc.*member);
                   },
                   [&](::Colour Doc::*member) { lines.Colour(parameter.name, doc.*member); },
               },
        field.member);
}

} // namespace

QByteArray BuildParameterBlock(const Doc& doc)
{
    static const std::vector<const DocField*> fields = FieldsInParameterOrder();
    ParameterLines lines;
    for (const DocField* field : fields)
        AppendParameter(lines, doc, *field);
    return EscapeCharacterReferences(lines.Take());
}

QByteArray EscapeQuotes(const QByteArray& text)
{
    return QByteArray(text).replace('"', "''");
}

QByteArray EscapeAmpersands(const QByteArray& text)
{
    return QByteArray(text).replace('&', "&amp;");
}

QByteArray EscapeAttributeQuotes(const QByteArray& text)
{
    return QByteArray(text).replace('"', "&quot;");
}

QByteArray EscapeCharacterReferences(const QByteArray& text)
{
    QByteArray result;
    result.reserve(text.size() + text.size() / 16);
    const qsizetype size = text.size();
    qsizetype copied = 0;
    for (qsizetype at = text.indexOf('&'); at >= 0; at = text.indexOf('&', at + 1)) {
        if (at + 2 < size && text[at + 1] == '#' && text[at + 2] >= '0' && text[at + 2] <= '9') {
            result.append(text.constData() + copied, at - copied).append("&amp");
            copied = at + 1;
        }
    }
    return result.append(text.constData() + copied, size - copied);
}
