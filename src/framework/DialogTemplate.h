#pragma once

#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// The control kinds a template may hold; each maps to one widget class (see TemplateBuilder).
enum class ControlType {
    Static,
    Edit,
    Button,
    CheckBox,
    Radio,
    GroupBox,
    Combo,
    ListBox,
    ListView,
    UpDown,
    ColourButton,
    Progress,
    Animation,
    Icon,
    Line,
};

// One control of a template: position and size in dialog units, styles by name.
struct TemplateControl
{
    ControlType type = ControlType::Static;
    int id = -1;
    QString name; // the widget's object name and the member of the template's form struct
    QString text;
    QRect rect;
    QStringList style;
    QStringList items;
    int icon = 0;
    // The controls whose texts, joined, name this one for screen readers, where the nearest
    // static before it is not its prompt.
    QStringList label;
    // The tool tip of an icon button, also its name for screen readers.
    QString tip;

    bool Has(const char* styleName) const { return style.contains(QLatin1String(styleName)); }
};

enum class TemplateKind { Dialog, Page };

// A page or dialog layout as the resources describe it (resources/templates/FORMAT.md).
struct DialogTemplate
{
    int id = 0;
    TemplateKind kind = TemplateKind::Dialog;
    QString caption;
    QSize size; // dialog units
    QString fontFamily;
    int fontPointSize = 8;
    std::vector<TemplateControl> controls; // template order, which is also the tab order
};

// Parses a template's JSON text. Nothing for malformed text or an unknown control type (a
// warning names the fault).
std::optional<DialogTemplate> ParseDialogTemplate(const QByteArray& json);

// The template compiled into the program as ":/templates/<id>.json".
std::optional<DialogTemplate> LoadDialogTemplate(int id);
