#pragma once

#include "model/ProjectFile.h"
#include "util/ProgramInfo.h"

#include <QByteArray>
#include <QString>

class Doc;

// The three shapes of the generated page.
enum class HtmlPageForm {
    File = 0, // a complete page with HTML and BODY elements
    Preview = 1, // the file page with a title and the applet centred
    Segment = 2, // only the comment and the APPLET element, for pasting into another page
};

// The end of the comment that names the program in every page: a fixed text of one line.
extern const char HtmlCommentNotice[];

// The value of the applet's Copyright parameter: the applet's name and a fixed notice, one line
// without a double quote.
QByteArray AppletCopyrightNotice(const ProgramInfo& info);

// The comment naming the program and the APPLET element with the project's parameters; content
// goes last inside the element, where browsers without Java show it instead of the applet.
QByteArray BuildAppletElement(
    const Doc& doc, const QByteArray& content, const ProgramInfo& info = CurrentProgramInfo());

// The page of the given form around element (a comment and the login box's element): the
// segment is the element itself.
QByteArray WrapInPage(
    const QByteArray& element, HtmlPageForm form, const ProgramInfo& info = CurrentProgramInfo());

// The same in parts, for pages joined at once: what comes before the applet element's content
// (the page's beginning, the comment, the tag and the parameters) and what after it.
struct AppletPageFrame
{
    QByteArray before;
    QByteArray after;
};
AppletPageFrame AppletPageFrameFor(
    const Doc& doc, HtmlPageForm form, const ProgramInfo& info = CurrentProgramInfo());
// The page's own beginning and end around an element.
AppletPageFrame PageFrameFor(HtmlPageForm form, const ProgramInfo& info = CurrentProgramInfo());

// The page text with CR LF line ends: the applet tag named after the program's class file, the
// project's size and its parameter block. Reads the document only.
QByteArray BuildHtmlPage(
    const Doc& doc, HtmlPageForm form, const ProgramInfo& info = CurrentProgramInfo());

// Writes the page of the given form to path, replacing any file there.
FileResult WriteHtmlPage(const Doc& doc, HtmlPageForm form, const QString& path,
    const ProgramInfo& info = CurrentProgramInfo());
