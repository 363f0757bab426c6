#include "generate/HtmlPage.h"

#include "generate/OutputFile.h"
#include "generate/ParameterBlock.h"
#include "model/Doc.h"

const char HtmlCommentNotice[] = "for pages guarded by a Velto login box";
const char HtmlCopyrightNotice[] = "Zarnith login applet, Copyright (C) 2026 Velto";

QByteArray BuildAppletElement(const Doc& doc, const QByteArray& content, const ProgramInfo& info)
{
    QByteArray element = "<!-- This applet was created by " + info.productName + " Version "
        + info.productVersion + " " + HtmlCommentNotice + ". -->\r\n";
    element += "<APPLET CODE=" + info.internalName + ".class WIDTH=" + QByteArray::number(doc.width)
        + " HEIGHT=" + QByteArray::number(doc.height) + ">\r\n";
    element += "<PARAM NAME=name VALUE=\"" + info.internalName + "\">\r\n";
    element += QByteArray("<PARAM NAME=Copyright VALUE=\"") + HtmlCopyrightNotice + "\">\r\n";
    element += BuildParameterBlock(doc);
    element += content;
    element += "</APPLET>\r\n";
    return element;
}

QByteArray WrapInPage(const QByteArray& element, HtmlPageForm form, const ProgramInfo& info)
{
    if (form == HtmlPageForm::Segment)
        return element;
    QByteArray page;
    const bool preview = form == HtmlPageForm::Preview;
    page += "<HTML>\r\n";
    if (preview)
        page += "<TITLE>" + info.productName + " Preview</TITLE>\r\n";
    page += "<BODY>\r\n";
    if (preview)
        page += "\r\n\r\n<CENTER>";
    page += element;
    if (preview)
        page += "</CENTER>\r\n";
    page += "</BODY>\r\n</HTML>\r\n";
    return page;
}

QByteArray BuildHtmlPage(const Doc& doc, HtmlPageForm form, const ProgramInfo& info)
{
    return WrapInPage(BuildAppletElement(doc, QByteArray(), info), form, info);
}

FileResult WriteHtmlPage(
    const Doc& doc, HtmlPageForm form, const QString& path, const ProgramInfo& info)
{
    return WriteOutputFile(path, BuildHtmlPage(doc, form, info));
}
