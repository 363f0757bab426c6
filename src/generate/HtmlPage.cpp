#include "generate/HtmlPage.h"

#include "generate/OutputFile.h"
#include "generate/ParameterBlock.h"
#include "model/Doc.h"

const char HtmlCommentNotice[] = "for pages guarded by a Velto login box";

QByteArray AppletCopyrightNotice(const ProgramInfo& info)
{
    return info.internalName + " login applet, Copyright (C) 2026 Velto";
}

namespace {

const char kAppletEnd[] = "</APPLET>\r\n";

QByteArray AppletStart(const Doc& doc, const ProgramInfo& info)
{
    QByteArray element = "<!-- This applet was created by " + info.productName + " Version "
        + info.productVersion + " " + HtmlCommentNotice + ". -->\r\n";
    element += "<APPLET CODE=" + info.internalName + ".class WIDTH=" + QByteArray::number(doc.width)
        + " HEIGHT=" + QByteArray::number(doc.height) + ">\r\n";
    element += "<PARAM NAME=name VALUE=\"" + info.internalName + "\">\r\n";
    element += "<PARAM NAME=Copyright VALUE=\"" + AppletCopyrightNotice(info) + "\">\r\n";
    element += BuildParameterBlock(doc);
    return element;
}

} // namespace

QByteArray BuildAppletElement(const Doc& doc, const QByteArray& content, const ProgramInfo& info)
{
    return AppletStart(doc, info) + content + kAppletEnd;
}

AppletPageFrame PageFrameFor(HtmlPageForm form, const ProgramInfo& info)
{
    if (form == HtmlPageForm::Segment)
        return {};
    const bool preview = form == HtmlPageForm::Preview;
    AppletPageFrame frame;
    frame.before = "<HTML>\r\n";
    if (preview)
        frame.before += "<TITLE>" + info.productName + " Preview</TITLE>\r\n";
    frame.before += "<BODY>\r\n";
    if (preview) {
        frame.before += "\r\n\r\n<CENTER>";
        frame.after = "</CENTER>\r\n";
    }
    frame.after += "</BODY>\r\n</HTML>\r\n";
    return frame;
}

QByteArray WrapInPage(const QByteArray& element, HtmlPageForm form, const ProgramInfo& info)
{
    const AppletPageFrame frame = PageFrameFor(form, info);
    return frame.before + element + frame.after;
}

AppletPageFrame AppletPageFrameFor(const Doc& doc, HtmlPageForm form, const ProgramInfo& info)
{
    AppletPageFrame frame = PageFrameFor(form, info);
    frame.before += AppletStart(doc, info);
    frame.after.prepend(kAppletEnd);
    return frame;
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
