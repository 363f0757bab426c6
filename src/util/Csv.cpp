#include "util/Csv.h"

namespace {

bool IsLineBreak(char ch)
{
    return ch == '\n' || ch == '\r';
}

bool NeedsQuotes(const QByteArray& field)
{
    for (char ch : field) {
        if (ch == ',' || ch == '"' || IsLineBreak(ch))
            return true;
    }
    return false;
}

} // namespace

CsvReader::CsvReader(QByteArrayView text)
    : m_text(text)
{
}

bool CsvReader::Next(CsvRow& row)
{
    if (m_fault != Fault::None || m_at >= m_text.size())
        return false;
    row.fields.clear();
    row.line = m_line;
    for (;;) {
        QByteArray field;
        const bool read
            = m_at < m_text.size() && m_text[m_at] == '"' ? ReadQuoted(field) : ReadPlain(field);
        if (!read)
            return false;
        row.fields.append(std::move(field));
        if (m_at < m_text.size() && m_text[m_at] == ',') {
            ++m_at;
            continue;
        }
        SkipLineBreak();
        return true;
    }
}

bool CsvReader::ReadQuoted(QByteArray& field)
{
    const int openedOn = m_line;
    ++m_at;
    for (;;) {
        qsizetype end = m_at;
        while (end < m_text.size() && m_text[end] != '"') {
            // A line break inside the field counts as a line; CR LF once.
            if (m_text[end] == '\n'
                || (m_text[end] == '\r' && (end + 1 == m_text.size() || m_text[end + 1] != '\n')))
                ++m_line;
            ++end;
        }
        field.append(m_text.sliced(m_at, end - m_at));
        if (end == m_text.size()) {
            m_line = openedOn;
            return Fail(Fault::UnclosedQuote);
        }
        m_at = end + 1;
        if (m_at < m_text.size() && m_text[m_at] == '"') {
            field.append('"');
            ++m_at;
            continue;
        }
        if (m_at < m_text.size() && m_text[m_at] != ',' && !IsLineBreak(m_text[m_at]))
            return Fail(Fault::TextAfterQuote);
        return true;
    }
}

bool CsvReader::ReadPlain(QByteArray& field)
{
    qsizetype end = m_at;
    while (end < m_text.size() && m_text[end] != ',' && !IsLineBreak(m_text[end])) {
        if (m_text[end] == '"')
            return Fail(Fault::QuoteInField);
        ++end;
    }
    field = m_text.sliced(m_at, end - m_at).toByteArray();
    m_at = end;
    return true;
}

void CsvReader::SkipLineBreak()
{
    if (m_at < m_text.size() && m_text[m_at] == '\r')
        ++m_at;
    if (m_at < m_text.size() && m_text[m_at] == '\n')
        ++m_at;
    ++m_line;
}

bool CsvReader::Fail(Fault fault)
{
    m_fault = fault;
    m_faultLine = m_line;
    return false;
}

QByteArray CsvLine(const QByteArrayList& fields)
{
    QByteArray line;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            line += ',';
        const QByteArray& field = fields[i];
        if (NeedsQuotes(field))
            line += '"' + QByteArray(field).replace('"', "\"\"") + '"';
        else
            line += field;
    }
    return line + "\r\n";
}
