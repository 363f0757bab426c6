#include "generate/HtmlPage.h"

#include "generate/OutputFile.h"
#include "generate/ParameterBlock.h"
#include "model/Doc.h"

const char HtmlCommentNotice[] = "for pages guarded by a Velto login box";
const char HtmlCopyrightNotice[] = "Zarnith login applet, Copyright (C) 2026 Velto";

namespace {

void AppendAppletElement(QByteArray& page, const Doc& doc, const ProgramInfo& info)
{
    page += "<!-- This applet was created by " + info.productName + " Version "
        + info.productVersion + " " + HtmlCommentNotice + ". -->\r\n";
    page += "<APPLET CODE=" + info.internalName + ".class WIDTH=" + QByteArray::number(doc.width)
        + " HEIGHT=" + QByteArray::number(doc.height) + ">\r\n";
    page += "<PARAM NAME=name VALUE=\"" + info.internalName + "\">\r\n";
    page += QByteArray("<PARAM NAME=Copyright VALUE=\"") + HtmlCopyrightNotice + "\">\r\n";
    page += BuildParameterBlock(doc);
    page += "</APPLET>\r\n";
}

} // namespace

QByteArray BuildHtmlPage(const Doc& doc, HtmlPageForm form, const ProgramInfo& info)
{
    QByteArray page;
    if (form == HtmlPageForm::Segment) {
        AppendAppletElement(page, doc, info);
        return page;
    }
    const bool preview = form == HtmlPageForm::Preview;
    page += "<HTML>\r\n";
    if (preview)
        page += "<TITLE>" + info.productName + " Preview</TITLE>\r\n";
    page += "<BODY>\r\n";
    if (preview)
        page += "\r\n\r\n<CENTER>";
    AppendAppletElement(page, doc, info);
    if (preview)
        page += "</CENTER>\r\n";
    page += "</BODY>\r\n</HTML>\r\n";
    return page;
}

FileResult WriteHtmlPage(
    const Doc& doc, HtmlPageForm form, const QString& path, const ProgramInfo& info)
{
    return WriteOutputFile(path, BuildHtmlPage(doc, form, info));
}
