#include "model/DocFields.h"

#include "model/SettingsBlock.h"
#include "util/Overloaded.h"
#include "util/ResourceText.h"
#include "util/StringIds.h"

#include <cstdlib>

namespace {

constexpr Colour DefaultColour = MakeColour(192, 220, 192);

// Shorthands for the table below.
constexpr AppletParameter Param(const char* name, int order, ParamValue value)
{
    return { name, order, value };
}

constexpr FieldControl Number(std::int32_t min, std::int32_t max)
{
    return { FieldKind::Number, { min, max } };
}

constexpr FieldControl kText { FieldKind::Text };
constexpr FieldControl kLines { FieldKind::LineBrokenText };
constexpr FieldControl kFlag { FieldKind::Flag };
constexpr FieldControl kFlagAtOne { FieldKind::FlagAtOne };
constexpr FieldControl kColour { FieldKind::Colour };
constexpr FieldControl kBorderStyles { FieldKind::Choice,
    { std::int32_t(BorderStyle::None), std::int32_t(BorderStyle::Dip) } };

constexpr BoxSetting kInBox { BoxValue::AsKind };
constexpr BoxSetting kSoundInBox { BoxValue::SoundName };

constexpr BoxSetting InBoxAs(const char* key)
{
    return { BoxValue::AsKind, key };
}

} // namespace

// clang-format off
// Constant-initialised, so that a Doc made during static initialisation finds it filled.
constexpr DocField DocFields[32] = {
    { "htmlFilePath",      &Doc::htmlFilePath,      KeptOnReset {}, kText },
    // The applet's size is written in its tag, not as parameters.
    { "width",             &Doc::width,             400, Number(1, 5000) },
    { "height",            &Doc::height,            200, Number(1, 5000) },
    { "correctEmail",      &Doc::correctEmail,      "", kText,
        Param("CorrectEmail", 2, ParamValue::Scrambled) },
    { "correctAudio",      &Doc::correctAudio,      "", kText,
        Param("CorrectAudio", 3, ParamValue::NamePartScrambled), kSoundInBox },
    { "incorrectMessage",  &Doc::incorrectMessage,  "The user ID or password\\nentered is incorrect.", kLines,
        Param("IncorrectMessage", 4, ParamValue::QuotesEscaped), kInBox },
    { "incorrectAudio",    &Doc::incorrectAudio,    "", kText,
        Param("IncorrectAudio", 5, ParamValue::NamePartScrambled), kSoundInBox },
    { "failMessage",       &Doc::failMessage,       "You are not entitled to enter!", kLines,
        Param("FailMessage", 6, ParamValue::QuotesEscaped), kInBox },
    { "failEmail",         &Doc::failEmail,         "", kText,
        Param("FailEmail", 7, ParamValue::Scrambled) },
    { "failUrl",           &Doc::failUrl,           "", kText,
        Param("FailUrl", 8, ParamValue::Scrambled), kInBox },
    // Folding decides each lock's key.
    { "ignoreCase",        &Doc::ignoreCase,        1, kFlagAtOne,
        Param("ignoreCase", 9, ParamValue::Flag), {}, true },
    // Any non-zero value scrambles, so the applet is told to unscramble.
    { "encrypt",           &Doc::encrypt,           0, kFlag,
        Param("Encrypt", 1, ParamValue::Flag) },
    { "userLabel",         &Doc::userLabel,         "User:", kText,
        Param("UserLabel", 11, ParamValue::Raw), kInBox },
    { "passwordLabel",     &Doc::passwordLabel,     "Password:", kText,
        Param("PasswordLabel", 12, ParamValue::Raw), kInBox },
    { "loginLabel",        &Doc::loginLabel,        "Login", kText,
        Param("LoginLabel", 13, ParamValue::Raw), kInBox },
    { "mailHost",          &Doc::mailHost,          "", kText,
        Param("MailHost", 14, ParamValue::Scrambled) },
    { "initialMessage",    &Doc::initialMessage,    "Enter your user ID and\\npassword, then click login.", kLines,
        Param("InitialMessage", 10, ParamValue::QuotesEscaped), kInBox },
    { "retries",           &Doc::retries,           3, Number(1, 10),
        Param("Retries", 15, ParamValue::Number), kInBox },
    { "fontFamily",        &Doc::fontFamily,        "Arial", kText,
        Param("FontFamily", 16, ParamValue::Raw), kInBox },
    { "fontSize",          &Doc::fontSize,          11, Number(0, 255),
        Param("FontSize", 17, ParamValue::Number), kInBox },
    // Bold and italic travel together in one style number.
    { "fontBold",          &Doc::fontBold,          1, kFlag,
        Param("FontStyle", 18, ParamValue::FontStyle), InBoxAs("bold") },
    { "fontItalic",        &Doc::fontItalic,        0, kFlag, {}, InBoxAs("italic") },
    { "spacing",           &Doc::spacing,           5, Number(0, 20),
        Param("Spacing", 19, ParamValue::Number), kInBox },
    { "margin",            &Doc::margin,            5, Number(0, 20),
        Param("Margin", 20, ParamValue::Number), kInBox },
    { "borderThickness",   &Doc::borderThickness,   5, Number(1, 50),
        Param("BorderThickness", 21, ParamValue::Number), kInBox },
    { "borderStyle",       &Doc::borderStyle,       std::int32_t(BorderStyle::Dip), kBorderStyles,
        Param("BorderStyle", 22, ParamValue::Number), kInBox },
    { "borderColor",       &Doc::borderColor,       DefaultColour, kColour,
        Param("BorderColor", 23, ParamValue::Colour), kInBox },
    { "backgroundColor",   &Doc::backgroundColor,   DefaultColour, kColour,
        Param("BackgroundColor", 24, ParamValue::Colour), kInBox },
    { "loadingMessage",    &Doc::loadingMessage,    StringTableText { IDS_LOADING_MESSAGE }, kText,
        Param("LoadingMessage", 25, ParamValue::Raw), kInBox },
    // The File line, or the lock lines when the page carries the locks itself.
    { "lockFile",          &Doc::lockFile,          "lock.txt", kText,
        Param("File", 26, ParamValue::LockSource) },
    { "reloadInterval",    &Doc::reloadInterval,    300, Number(0, 5000),
        Param("ReloadInterval", 27, ParamValue::Number), kInBox },
    { "readLocksFromFile", &Doc::readLocksFromFile, 0, kFlagAtOne },
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
    return field.control.kind == FieldKind::FlagAtOne ? value == 1 : value != 0;
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

const FieldControl& ControlOf(const DocMember& member)
{
    for (const DocField& field : DocFields) {
        if (field.member == member)
            return field.control;
    }
    for (const BlockSetting& setting : BlockSettings) {
        if (setting.member == member)
            return setting.control;
    }
    std::abort();
}
