#include "generate/ParameterBlock.h"

#include "generate/LockLines.h"
#include "model/Doc.h"
#include "util/Paths.h"
#include "util/ResourceText.h"
#include "util/StringIds.h"

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
        for (int shift = 0; shift < 24; shift += 8)
            hex += QByteArray::number((value >> shift) & 0xFF, 16).toUpper().rightJustified(2, '0');
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

constexpr ::Colour DefaultColour = MakeColour(192, 220, 192);

} // namespace

QByteArray BuildParameterBlock(const Doc& doc)
{
    const auto scrambled = [&doc](const QByteArray& text) { return ScrambleText(doc, text); };
    ParameterLines lines;
    // Any non-zero flag scrambles the values, so the applet must be told to unscramble them.
    if (doc.encrypt != 0)
        lines.Number("Encrypt", 1);
    if (!doc.correctEmail.isEmpty())
        lines.Text("CorrectEmail", scrambled(doc.correctEmail));
    if (!doc.correctAudio.isEmpty())
        lines.Text("CorrectAudio", scrambled(FileNamePart(doc.correctAudio)));
    if (doc.incorrectMessage != "The user ID or password\\nentered is incorrect.")
        lines.Text("IncorrectMessage", EscapeQuotes(doc.incorrectMessage));
    if (!doc.incorrectAudio.isEmpty())
        lines.Text("IncorrectAudio", scrambled(FileNamePart(doc.incorrectAudio)));
    if (doc.failMessage != "You are not entitled to enter!")
        lines.Text("FailMessage", EscapeQuotes(doc.failMessage));
    if (!doc.failEmail.isEmpty())
        lines.Text("FailEmail", scrambled(doc.failEmail));
    if (!doc.failUrl.isEmpty())
        lines.Text("FailUrl", scrambled(doc.failUrl));
    if (doc.ignoreCase != 1)
        lines.Number("ignoreCase", 0);
    if (doc.initialMessage != "Enter your user ID and\\npassword, then click login.")
        lines.Text("InitialMessage", EscapeQuotes(doc.initialMessage));
    if (doc.userLabel != "User:")
        lines.Text("UserLabel", doc.userLabel);
    if (doc.passwordLabel != "Password:")
        lines.Text("PasswordLabel", doc.passwordLabel);
    if (doc.loginLabel != "Login")
        lines.Text("LoginLabel", doc.loginLabel);
    if (!doc.mailHost.isEmpty())
        lines.Text("MailHost", scrambled(doc.mailHost));
    if (doc.retries != 3)
        lines.Number("Retries", doc.retries);
    if (doc.fontFamily != "Arial")
        lines.Text("FontFamily", doc.fontFamily);
    if (doc.fontSize != 11)
        lines.Number("FontSize", doc.fontSize);
    const int fontStyle = (doc.fontBold != 0 ? 1 : 0) + (doc.fontItalic != 0 ? 2 : 0);
    if (fontStyle != 1)
        lines.Number("FontStyle", fontStyle);
    if (doc.spacing != 5)
        lines.Number("Spacing", doc.spacing);
    if (doc.margin != 5)
        lines.Number("Margin", doc.margin);
    if (doc.borderThickness != 5)
        lines.Number("BorderThickness", doc.borderThickness);
    if (doc.borderStyle != 4)
        lines.Number("BorderStyle", doc.borderStyle);
    if (doc.borderColor != DefaultColour)
        lines.Colour("BorderColor", doc.borderColor);
    if (doc.backgroundColor != DefaultColour)
        lines.Colour("BackgroundColor", doc.backgroundColor);
    if (doc.loadingMessage != LoadResourceText(IDS_LOADING_MESSAGE))
        lines.Text("LoadingMessage", doc.loadingMessage);
    if (doc.readLocksFromFile == 1)
        lines.Text("File", scrambled(FileNamePart(doc.lockFile)));
    else
        lines.Raw(BuildLockLines(doc, false));
    if (doc.reloadInterval != 300)
        lines.Number("ReloadInterval", doc.reloadInterval);
    return EscapeCharacterReferences(lines.Take());
}

QByteArray EscapeQuotes(const QByteArray& text)
{
    return QByteArray(text).replace('"', "''");
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
