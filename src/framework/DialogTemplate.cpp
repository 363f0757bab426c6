#include "framework/DialogTemplate.h"

#include "util/ProgramInfo.h"
#include "util/ResourceText.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtDebug>

#include <utility>

namespace {

const std::pair<const char*, ControlType> kTypeNames[] = {
    { "static", ControlType::Static },
    { "edit", ControlType::Edit },
    { "button", ControlType::Button },
    { "checkbox", ControlType::CheckBox },
    { "radio", ControlType::Radio },
    { "groupbox", ControlType::GroupBox },
    { "combo", ControlType::Combo },
    { "listbox", ControlType::ListBox },
    { "listview", ControlType::ListView },
    { "updown", ControlType::UpDown },
    { "colorbutton", ControlType::ColourButton },
    { "progress", ControlType::Progress },
    { "animation", ControlType::Animation },
    { "icon", ControlType::Icon },
    { "line", ControlType::Line },
};

std::optional<ControlType> TypeNamed(const QString& name)
{
    for (const auto& [typeName, type] : kTypeNames) {
        if (name == QLatin1String(typeName))
            return type;
    }
    return std::nullopt;
}

QStringList Strings(const QJsonValue& value)
{
    QStringList strings;
    for (const QJsonValue& entry : value.toArray())
        strings.append(entry.toString());
    return strings;
}

// A text of the template, naming the product where it says so.
QString Text(const QJsonValue& value)
{
    return value.toString().replace(QLatin1String(kProductNamePlaceholder),
        QString::fromLatin1(CurrentProgramInfo().productName));
}

QRect Rect(const QJsonValue& value)
{
    const QJsonArray numbers = value.toArray();
    return QRect(
        numbers.at(0).toInt(), numbers.at(1).toInt(), numbers.at(2).toInt(), numbers.at(3).toInt());
}

} // namespace

std::optional<DialogTemplate> ParseDialogTemplate(const QByteArray& json)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (!document.isObject()) {
        qWarning("Dialog template is not a JSON object: %s", qPrintable(error.errorString()));
        return std::nullopt;
    }
    const QJsonObject root = document.object();

    DialogTemplate result;
    result.id = root.value(QLatin1String("id")).toInt();
    result.kind = root.value(QLatin1String("kind")).toString() == QLatin1String("page")
        ? TemplateKind::Page
        : TemplateKind::Dialog;
    result.caption = Text(root.value(QLatin1String("caption")));
    const QJsonArray size = root.value(QLatin1String("size")).toArray();
    result.size = QSize(size.at(0).toInt(), size.at(1).toInt());
    const QJsonArray font = root.value(QLatin1String("font")).toArray();
    result.fontFamily = font.at(0).toString(QStringLiteral("MS Sans Serif"));
    result.fontPointSize = font.at(1).toInt(8);

    for (const QJsonValue& entry : root.value(QLatin1String("controls")).toArray()) {
        const QJsonObject object = entry.toObject();
        TemplateControl control;
        control.id = object.value(QLatin1String("id")).toInt(-1);
        const QString typeName = object.value(QLatin1String("type")).toString();
        const std::optional<ControlType> type = TypeNamed(typeName);
        if (!type) {
            qWarning("Dialog template %d: control %d has the unknown type \"%s\"", result.id,
                control.id, qPrintable(typeName));
            return std::nullopt;
        }
        control.type = *type;
        control.name = object.value(QLatin1String("name")).toString();
        control.text = Text(object.value(QLatin1String("text")));
        control.rect = Rect(object.value(QLatin1String("rect")));
        control.style = Strings(object.value(QLatin1String("style")));
        control.items = Strings(object.value(QLatin1String("items")));
        control.icon = object.value(QLatin1String("icon")).toInt();
        control.label = Strings(object.value(QLatin1String("label")));
        control.tip = object.value(QLatin1String("tip")).toString();
        result.controls.push_back(std::move(control));
    }
    return result;
}

std::optional<DialogTemplate> LoadDialogTemplate(int id)
{
    QFile file(QStringLiteral(":/templates/%1.json").arg(id));
    if (!file.open(QIODevice::ReadOnly)) {
        qWarning("Dialog template %d is missing", id);
        return std::nullopt;
    }
    return ParseDialogTemplate(file.readAll());
}
