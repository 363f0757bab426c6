#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QByteArrayView>

// Comma-separated values as RFC 4180 has them, over bytes: fields separated by commas, rows
// ended by CR LF, LF or CR alone, and a field in double quotes may hold commas, line breaks and
// quotes written twice. Nothing here knows what the columns mean.

struct CsvRow
{
    QByteArrayList fields;
    // The line the row starts on, counted from 1.
    int line = 0;
};

// Reads the rows of a text one at a time. An empty line is a row of one empty field.
class CsvReader
{
public:
    enum class Fault {
        None,
        UnclosedQuote, // a quoted field runs to the end of the text
        TextAfterQuote, // a closing quote is followed by something other than a comma or line end
        QuoteInField, // a quote inside a field that does not start with one
    };

    explicit CsvReader(QByteArrayView text);

    // The next row; false at the end of the text or at a fault.
    bool Next(CsvRow& row);

    Fault GetFault() const { return m_fault; }
    // The line the fault lies on.
    int FaultLine() const { return m_faultLine; }

private:
    bool ReadQuoted(QByteArray& field);
    bool ReadPlain(QByteArray& field);
    // Steps over the line break at the read position, if any, counting it.
    void SkipLineBreak();
    bool Fail(Fault fault);

    QByteArrayView m_text;
    qsizetype m_at = 0;
    int m_line = 1;
    Fault m_fault = Fault::None;
    int m_faultLine = 0;
};

// One row as CSV: the fields joined by commas, each quoted when it holds a comma, a quote or a
// line break, ended by CR LF.
QByteArray CsvLine(const QByteArrayList& fields);
