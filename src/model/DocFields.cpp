#include "model/DocFields.h"

#include "util/Overloaded.h"
#include "util/ResourceText.h"
#include "util/StringIds.h"

#include <cstdlib>

namespace {

constexpr Colour DefaultColour = MakeColour(192, 220, 192);

// Shorthand for the table below.
constexpr AppletParameter Param(const char* name, int order, ParamValue value)
{
    return { name, order, value };
}

} // namespace

// clang-format off
// Constant-initialised, so that a Doc made during static initialisation finds it filled.
constexpr DocField DocFields[32] = {
    { "htmlFilePath",      &Doc::htmlFilePath,      KeptOnReset {} },
    // The applet's size is written in its tag, not as parameters.
    { "width",             &Doc::width,             400 },
    { "height",            &Doc::height,            200 },
    { "correctEmail",      &Doc::correctEmail,      "",
        Param("CorrectEmail", 2, ParamValue::Scrambled) },
    { "correctAudio",      &Doc::correctAudio,      "",
        Param("CorrectAudio", 3, ParamValue::NamePartScrambled) },
    { "incorrectMessage",  &Doc::incorrectMessage,  "The user ID or password\\nentered is incorrect.",
        Param("IncorrectMessage", 4, ParamValue::QuotesEscaped) },
    { "incorrectAudio",    &Doc::incorrectAudio,    "",
        Param("IncorrectAudio", 5, ParamValue::NamePartScrambled) },
    { "failMessage",       &Doc::failMessage,       "You are not entitled to enter!",
        Param("FailMessage", 6, ParamValue::QuotesEscaped) },
    { "failEmail",         &Doc::failEmail,         "",
        Param("FailEmail", 7, ParamValue::Scrambled) },
    { "failUrl",           &Doc::failUrl,           "",
        Param("FailUrl", 8, ParamValue::Scrambled) },
    { "ignoreCase",        &Doc::ignoreCase,        1,
        Param("ignoreCase", 9, ParamValue::Flag), FlagTest::EqualsOne },
    // Any non-zero value scrambles, so the applet is told to unscramble.
    { "encrypt",           &Doc::encrypt,           0,
        Param("Encrypt", 1, ParamValue::Flag), FlagTest::NonZero },
    { "userLabel",         &Doc::userLabel,         "User:",
        Param("UserLabel", 11, ParamValue::Raw) },
    { "passwordLabel",     &Doc::passwordLabel,     "Password:",
        Param("PasswordLabel", 12, ParamValue::Raw) },
    { "loginLabel",        &Doc::loginLabel,        "Login",
        Param("LoginLabel", 13, ParamValue::Raw) },
    { "mailHost",          &Doc::mailHost,          "",
        Param("MailHost", 14, ParamValue::Scrambled) },
    { "initialMessage",    &Doc::initialMessage,    "Enter your user ID and\\npassword, then click login.",
        Param("InitialMessage", 10, ParamValue::QuotesEscaped) },
    { "retries",           &Doc::retries,           3,
        Param("Retries", 15, ParamValue::Number) },
    { "fontFamily",        &Doc::fontFamily,        "Arial",
        Param("FontFamily", 16, ParamValue::Raw) },
    { "fontSize",          &Doc::fontSize,          11,
        Param("FontSize", 17, ParamValue::Number) },
    // Bold and italic travel together in one style number.
    { "fontBold",          &Doc::fontBold,          1,
        Param("FontStyle", 18, ParamValue::FontStyle), FlagTest::NonZero },
    { "fontItalic",        &Doc::fontItalic,        0, {}, FlagTest::NonZero },
    { "spacing",           &Doc::spacing,           5,
        Param("Spacing", 19, ParamValue::Number) },
    { "margin",            &Doc::margin,            5,
        Param("Margin", 20, ParamValue::Number) },
    { "borderThickness",   &Doc::borderThickness,   5,
        Param("BorderThickness", 21, ParamValue::Number) },
    { "borderStyle",       &Doc::borderStyle,       4,
        Param("BorderStyle", 22, ParamValue::Number) },
    { "borderColor",       &Doc::borderColor,       DefaultColour,
        Param("BorderColor", 23, ParamValue::Colour) },
    { "backgroundColor",   &Doc::backgroundColor,   DefaultColour,
        Param("BackgroundColor", 24, ParamValue::Colour) },
    { "loadingMessage",    &Doc::loadingMessage,    StringTableText { IDS_LOADING_MESSAGE },
        Param("LoadingMessage", 25, ParamValue::Raw) },
    // The File line, or the lock lines when the page carries the locks itself.
    { "lockFile",          &Doc::lockFile,          "lock.txt",
        Param("File", 26, ParamValue::LockSource) },
    { "reloadInterval",    &Doc::reloadInterval,    300,
        Param("ReloadInterval", 27, ParamValue::Number) },
    { "readLocksFromFile", &Doc::readLocksFromFile, 0, {}, FlagTest::EqualsOne },
};

constexpr LockField LockFields[4] = {
    // The login box takes everything between the second and the last "|" as the URL.
    { "userId",   &LockEntry::userId,   "user ID",  false },
    { "password", &LockEntry::password, "password", false },
    { "url",      &LockEntry::url,      "URL",      true },
    { "target",   &LockEntry::target,   "target",   false },
};
// clang-format on

QByteArray DefaultText(const DocField& field)
{
    if (const auto* table = std::get_if<StringTableText>(&field.byDefault))
        return LoadResourceText(table->id);
    if (const auto* text = std::get_if<const char*>(&field.byDefault))
        return *text;
    return {};
}

void ResetField(Doc& doc, const DocField& field)
{
    if (std::holds_alternative<KeptOnReset>(field.byDefault))
        return;
    std::visit(Overloaded {
                   [&](QByteArray Doc::*text) { doc.*text = DefaultText(field); },
                   [&](std::int32_t Doc::*number) {
                       doc.*number = std::get<std::int32_t>(field.byDefault);
                   },
                   [&](Colour Doc::*colour) { doc.*colour = std::get<Colour>(field.byDefault); },
               },
        field.member);
}

bool HoldsDefault(const Doc& doc, const DocField& field)
{
    return std::visit(
        Overloaded {
            [&](QByteArray Doc::*text) { return doc.*text == DefaultText(field); },
            [&](std::int32_t Doc::*number) {
                return doc.*number == std::get<std::int32_t>(field.byDefault);
            },
            [&](Colour Doc::*colour) { return doc.*colour == std::get<Colour>(field.byDefault); },
        },
        field.member);
}

bool FlagIsOn(const Doc& doc, const DocField& field)
{
    const std::int32_t value = doc.*std::get<std::int32_t Doc::*>(field.member);
    return field.flag == FlagTest::EqualsOne ? value == 1 : value != 0;
}

const DocField& FieldOf(const DocMember& member)
{
    for (const DocField& field : DocFields) {
        if (field.member == member)
            return field;
    }
    // Every member of the variant that the program names has an entry.
    std::abort();
}
