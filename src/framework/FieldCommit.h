#pragma once

#include "model/Doc.h"
#include "util/TextUtil.h"

#include <QByteArray>

// Writes a page's copies back into the document, one field at a time, marking the document
// modified only for the values that differ from what it holds.
class FieldCommit
{
public:
    explicit FieldCommit(Doc& doc)
        : m_doc(doc)
    {
    }

    template<class T> void Field(T& field, const T& value)
    {
        if (field == value)
            return;
        field = value;
        m_doc.SetModified();
    }

    // A multi-line text that the page holds as displayed (CR LF) and the document keeps on one
    // line. Shown as it was loaded, the field stays as stored, even where storing the shown form
    // again would change it (a bare CR or LF in a project file).
    void MultiLineText(QByteArray& field, const QByteArray& displayText)
    {
        if (displayText != UnescapeLineBreaks(field))
            Field(field, EscapeLineBreaks(displayText));
    }

private:
    Doc& m_doc;
};
