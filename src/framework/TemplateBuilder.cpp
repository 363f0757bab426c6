#include "framework/TemplateBuilder.h"

#include "framework/ColourButton.h"
#include "framework/ResourceIcon.h"
#include "framework/UpDown.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QStandardItemModel>
#include <QTableView>

#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

namespace {

// True when text marks a mnemonic: an "&" before anything but another "&".
bool HasMnemonic(const QString& text)
{
    for (int i = 0; i + 1 < text.size(); ++i) {
        if (text.at(i) != QLatin1Char('&'))
            continue;
        if (text.at(i + 1) != QLatin1Char('&'))
            return true;
        ++i;
    }
    return false;
}

// Moves freshly inserted entries of a combo's list to their place in case-insensitive order, as
// a sorted Windows combo does when entries are added.
void KeepSorted(QComboBox* combo)
{
    auto* model = qobject_cast<QStandardItemModel*>(combo->model());
    auto placing = std::make_shared<bool>(false);
    QObject::connect(model, &QAbstractItemModel::rowsInserted, combo,
        [model, placing](const QModelIndex&, int first, int last) {
            if (*placing)
                return;
            *placing = true;
            std::vector<QList<QStandardItem*>> inserted;
            for (int row = last; row >= first; --row)
                inserted.push_back(model->takeRow(row));
            for (const QList<QStandardItem*>& entry : inserted) {
                const QString text = entry.first()->text();
                int position = 0;
                while (position < model->rowCount()
                    && QString::compare(model->item(position)->text(), text, Qt::CaseInsensitive)
                        <= 0)
                    ++position;
                model->insertRow(position, entry);
            }
            *placing = false;
        });
}

// The text as shown, without its mnemonic marks.
QString WithoutMnemonic(const QString& text)
{
    QString shown;
    for (int i = 0; i < text.size(); ++i) {
        if (text.at(i) == QLatin1Char('&') && i + 1 < text.size())
            ++i;
        shown.append(text.at(i));
    }
    return shown;
}

// A static shows its "&" as typed when it has no mnemonic (see MakeLabel); a buddy would make
// the label read them as mnemonic marks.
bool MayTakeBuddy(const TemplateControl& control)
{
    return !control.Has("noprefix")
        && (HasMnemonic(control.text) || !control.text.contains(QLatin1Char('&')));
}

// What a screen reader should say for a control's own text or given name; empty for a control
// without either.
QString OwnName(const TemplateControl& control, const QWidget* widget)
{
    if (!widget->accessibleName().isEmpty())
        return widget->accessibleName();
    switch (control.type) {
    case ControlType::Static:
        if (control.Has("noprefix"))
            return control.text;
        if (!HasMnemonic(control.text))
            return QString(control.text).replace(QLatin1String("&&"), QLatin1String("&"));
        return WithoutMnemonic(control.text);
    case ControlType::Button:
    case ControlType::CheckBox:
    case ControlType::Radio:
        return WithoutMnemonic(control.text);
    default:
        return QString();
    }
}

// Names every control that takes the focus for screen readers. A control showing a text of its
// own is named by it and described by a static just before it: the question a check box or
// button answers. Any other control is named by the label whose mnemonic leads to it, else by its
// prompt, the nearest static with a text before it, unless the template names its label
// controls; a prompt static becomes its buddy.
void NameForScreenReaders(
    const std::vector<TemplateControl>& controls, const std::vector<QWidget*>& widgets)
{
    const auto indexNamed = [&controls](const QString& name) {
        return std::size_t(std::find_if(controls.begin(), controls.end(),
                               [&name](const TemplateControl& c) { return c.name == name; })
            - controls.begin());
    };
    std::optional<std::size_t> prompt;
    for (std::size_t i = 0; i < widgets.size(); ++i) {
        const TemplateControl& control = controls[i];
        QWidget* widget = widgets[i];
        if (control.type == ControlType::Static) {
            if (!control.text.isEmpty())
                prompt = i;
            continue;
        }
        if (widget->focusPolicy() == Qt::NoFocus)
            continue;
        if (!OwnName(control, widget).isEmpty()) {
            if (prompt == i - 1)
                widget->setAccessibleDescription(OwnName(controls[*prompt], widgets[*prompt]));
            continue;
        }
        std::vector<std::size_t> labels;
        for (const QString& labelName : control.label) {
            if (const std::size_t index = indexNamed(labelName); index < controls.size())
                labels.push_back(index);
        }
        if (control.label.isEmpty()) {
            const auto leading = std::find_if(widgets.begin(), widgets.end(), [widget](QWidget* w) {
                const auto* label = qobject_cast<QLabel*>(w);
                return label && label->buddy() == widget;
            });
            if (leading != widgets.end())
                labels.push_back(std::size_t(leading - widgets.begin()));
            else if (prompt)
                labels.push_back(*prompt);
        }
        QStringList names;
        for (const std::size_t label : labels)
            names.append(OwnName(controls[label], widgets[label]));
        widget->setAccessibleName(names.join(QLatin1Char(' ')));
        if (labels.size() == 1 && MayTakeBuddy(controls[labels.front()])) {
            if (auto* label = qobject_cast<QLabel*>(widgets[labels.front()]);
                label && !label->buddy())
                label->setBuddy(widget);
        }
    }
}

QWidget* MakeLabel(
    const TemplateControl& control, const QFontMetrics& metrics, const QRect& rect, QWidget* form)
{
    auto* label = new QLabel(form);
    label->setTextFormat(Qt::PlainText);
    Qt::Alignment alignment = Qt::AlignLeft;
    if (control.Has("center"))
        alignment = Qt::AlignHCenter;
    else if (control.Has("right"))
        alignment = Qt::AlignRight;
    label->setAlignment(alignment | Qt::AlignTop);
    if (control.Has("sunken"))
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    else if (control.Has("border"))
        label->setFrameStyle(QFrame::Box | QFrame::Plain);
    // A label shows "&&" as "&" only while it has a buddy; without a mnemonic it gets none.
    QString text = control.text;
    if (!control.Has("noprefix") && !HasMnemonic(text))
        text.replace(QLatin1String("&&"), QLatin1String("&"));
    label->setText(text);
    label->setWordWrap(rect.height() >= 2 * metrics.lineSpacing());
    return label;
}

QWidget* MakeEdit(const TemplateControl& control, QWidget* form)
{
    if (control.Has("multiline")) {
        auto* edit = new QPlainTextEdit(form);
        edit->setTabChangesFocus(true);
        edit->setReadOnly(control.Has("readonly"));
        const bool scrollsSideways = control.Has("autohscroll") || control.Has("hscroll");
        edit->setLineWrapMode(
            scrollsSideways ? QPlainTextEdit::NoWrap : QPlainTextEdit::WidgetWidth);
        edit->setVerticalScrollBarPolicy(
            control.Has("vscroll") ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
        edit->setHorizontalScrollBarPolicy(
            control.Has("hscroll") ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
        return edit;
    }
    auto* edit = new QLineEdit(form);
    edit->setReadOnly(control.Has("readonly"));
    if (control.Has("password"))
        edit->setEchoMode(QLineEdit::Password);
    if (control.Has("number"))
        edit->setValidator(
            new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
    return edit;
}

QWidget* MakeButton(const TemplateControl& control, QWidget* form)
{
    auto* button = new QPushButton(form);
    // An icon button keeps its tip, or else its text, for screen readers; the icon itself fits
    // the button once it has its size.
    if (control.Has("icon")) {
        button->setToolTip(control.tip);
        button->setAccessibleName(control.tip.isEmpty() ? control.text : control.tip);
    } else {
        button->setText(control.text);
    }
    button->setDefault(control.Has("default"));
    return button;
}

QWidget* MakeCombo(const TemplateControl& control, QWidget* form)
{
    auto* combo = new QComboBox(form);
    if (control.Has("dropdown")) {
        combo->setEditable(true);
        // A Windows combo neither adds typed text to its list nor completes it.
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->setCompleter(nullptr);
    }
    if (control.Has("sort"))
        KeepSorted(combo);
    combo->addItems(control.items);
    combo->setCurrentIndex(-1);
    return combo;
}

QWidget* MakeListBox(const TemplateControl& control, QWidget* form)
{
    auto* list = new QListWidget(form);
    if (control.Has("extendedsel"))
        list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    else if (control.Has("multiplesel"))
        list->setSelectionMode(QAbstractItemView::MultiSelection);
    else
        list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->addItems(control.items);
    return list;
}

QWidget* MakeListView(const TemplateControl& control, QWidget* form)
{
    // A table with rows of one height and no per-row layout: a list of a million rows costs
    // nothing per row when it is shown anew.
    auto* view = new QTableView(form);
    view->setShowGrid(false);
    view->setWordWrap(false);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(control.Has("singlesel") ? QAbstractItemView::SingleSelection
                                                    : QAbstractItemView::ExtendedSelection);
    view->verticalHeader()->hide();
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->horizontalHeader()->setHighlightSections(false);
    view->horizontalHeader()->setSectionsClickable(!control.Has("nosortheader"));
    return view;
}

QWidget* MakeIcon(const TemplateControl& control, QWidget* form)
{
    auto* label = new QLabel(form);
    const QIcon icon = ResourceIcon(control.icon);
    label->setPixmap(icon.pixmap(icon.actualSize(kSystemIconSize)));
    return label;
}

QWidget* MakeLine(QWidget* form)
{
    auto* line = new QFrame(form);
    line->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    return line;
}

} // namespace

TemplateBuilder::TemplateBuilder(const DialogTemplate& dialogTemplate)
    : m_template(dialogTemplate)
    , m_font(TemplateFont(dialogTemplate.fontFamily, dialogTemplate.fontPointSize))
    , m_units(m_font)
{
}

QSize TemplateBuilder::FormSize() const
{
    return m_units.ToPixels(m_template.size);
}

void TemplateBuilder::Build(QWidget* form) const
{
    form->setFont(m_font);
    form->setFixedSize(FormSize());

    std::vector<QWidget*> widgets;
    QButtonGroup* radioGroup = nullptr;
    for (const TemplateControl& control : m_template.controls) {
        if (control.Has("group"))
            radioGroup = nullptr;
        QWidget* widget = CreateControl(control, form);
        widget->setObjectName(control.name);
        if (control.type == ControlType::Radio) {
            if (!radioGroup)
                radioGroup = new QButtonGroup(form);
            radioGroup->addButton(static_cast<QRadioButton*>(widget));
        } else if (control.type == ControlType::UpDown && control.Has("autobuddy")
            && !widgets.empty()) {
            auto* upDown = static_cast<UpDown*>(widget);
            upDown->setAlignRight(control.Has("alignright"));
            if (auto* buddy = qobject_cast<QLineEdit*>(widgets.back()))
                upDown->setBuddy(buddy);
        }
        if (control.Has("hidden"))
            widget->hide();
        if (control.Has("disabled"))
            widget->setEnabled(false);
        widgets.push_back(widget);
    }

    QWidget* previousStop = nullptr;
    for (std::size_t i = 0; i < widgets.size(); ++i) {
        QWidget* widget = widgets[i];
        // The template's text tells a mnemonic: the label shows "&&" as a plain "&".
        const TemplateControl& control = m_template.controls[i];
        if (auto* label = qobject_cast<QLabel*>(widget); label
            && control.type == ControlType::Static && !control.Has("noprefix")
            && HasMnemonic(control.text)) {
            for (std::size_t next = i + 1; next < widgets.size(); ++next) {
                if (widgets[next]->focusPolicy() != Qt::NoFocus) {
                    label->setBuddy(widgets[next]);
                    break;
                }
            }
        }
        if (widget->focusPolicy() == Qt::NoFocus)
            continue;
        if (previousStop)
            QWidget::setTabOrder(previousStop, widget);
        previousStop = widget;
    }
    NameForScreenReaders(m_template.controls, widgets);
    for (QWidget* widget : widgets) {
        if (qobject_cast<QGroupBox*>(widget))
            widget->lower();
    }
}

QWidget* TemplateBuilder::ControlWithId(const QWidget& form, int id) const
{
    for (const TemplateControl& control : m_template.controls) {
        if (control.id == id)
            return form.findChild<QWidget*>(control.name, Qt::FindDirectChildrenOnly);
    }
    return nullptr;
}

QWidget* TemplateBuilder::CreateControl(const TemplateControl& control, QWidget* form) const
{
    const QRect rect = m_units.ToPixels(control.rect);
    QWidget* widget = nullptr;
    switch (control.type) {
    case ControlType::Static:
        widget = MakeLabel(control, QFontMetrics(m_font), rect, form);
        break;
    case ControlType::Edit:
        widget = MakeEdit(control, form);
        break;
    case ControlType::Button:
        widget = MakeButton(control, form);
        widget->setGeometry(rect);
        if (control.Has("icon"))
            SetButtonIcon(static_cast<QPushButton*>(widget), control.icon);
        return widget;
    case ControlType::CheckBox:
        widget = new QCheckBox(control.text, form);
        break;
    case ControlType::Radio:
        widget = new QRadioButton(control.text, form);
        break;
    case ControlType::GroupBox:
        widget = new QGroupBox(control.text, form);
        break;
    case ControlType::Combo: {
        auto* combo = static_cast<QComboBox*>(MakeCombo(control, form));
        // The template's height includes the dropped-down list; the closed combo keeps its own.
        const int closedHeight = combo->sizeHint().height();
        combo->setMaxVisibleItems(
            std::max(1, (rect.height() - closedHeight) / QFontMetrics(m_font).height()));
        combo->setGeometry(rect.x(), rect.y(), rect.width(), closedHeight);
        return combo;
    }
    case ControlType::ListBox:
        widget = MakeListBox(control, form);
        break;
    case ControlType::ListView:
        widget = MakeListView(control, form);
        break;
    case ControlType::UpDown:
        widget = new UpDown(form);
        break;
    case ControlType::ColourButton:
        widget = new ColourButton(form);
        break;
    case ControlType::Progress: {
        auto* progress = new QProgressBar(form);
        progress->setTextVisible(false);
        widget = progress;
        break;
    }
    case ControlType::Animation: {
        auto* animation = new QLabel(form);
        if (control.Has("center"))
            animation->setAlignment(Qt::AlignCenter);
        widget = animation;
        break;
    }
    case ControlType::Icon: {
        // An icon static takes the size of its icon.
        widget = MakeIcon(control, form);
        widget->setGeometry(QRect(rect.topLeft(), widget->sizeHint()));
        return widget;
    }
    case ControlType::Line:
        widget = MakeLine(form);
        widget->setGeometry(rect.x(), rect.y(), rect.width(), std::max(rect.height(), 2));
        return widget;
    }
    widget->setGeometry(rect);
    return widget;
}
