#include "framework/TemplateBuilder.h"

#include "forms/AllForms.h"
#include "framework/UpDown.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDirIterator>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>
#include <memory>

namespace {

DialogTemplate Parse(const char* json)
{
    const std::optional<DialogTemplate> parsed = ParseDialogTemplate(QByteArray(json));
    EXPECT_TRUE(parsed.has_value());
    return parsed.value_or(DialogTemplate {});
}

std::unique_ptr<QWidget> Build(const DialogTemplate& dialogTemplate)
{
    auto form = std::make_unique<QWidget>();
    TemplateBuilder(dialogTemplate).Build(form.get());
    return form;
}

template<class T = QWidget> T* Named(const QWidget* form, const char* name)
{
    return form->findChild<T*>(QLatin1String(name), Qt::FindDirectChildrenOnly);
}

QStringList ItemTexts(const QComboBox* combo)
{
    QStringList texts;
    for (int i = 0; i < combo->count(); ++i)
        texts.append(combo->itemText(i));
    return texts;
}

const char kMixedForm[] = R"({
  "id": 9001, "kind": "dialog", "caption": "Mixed", "size": [200, 120],
  "font": ["MS Sans Serif", 8],
  "controls": [
    { "type": "static", "id": -1, "name": "nameLabel", "text": "&Name:", "rect": [4, 4, 30, 8] },
    { "type": "static", "id": 30, "name": "fish", "text": "Fish && Chips", "rect": [40, 4, 60, 8] },
    { "type": "edit", "id": 10, "name": "nameEdit", "rect": [4, 14, 60, 14], "style": ["autohscroll", "tabstop"] },
    { "type": "updown", "id": 11, "name": "nameUpDown", "rect": [60, 14, 11, 14], "style": ["autobuddy", "alignright"] },
    { "type": "groupbox", "id": 12, "name": "choiceGroup", "text": "Choice", "rect": [4, 30, 100, 40] },
    { "type": "radio", "id": 13, "name": "one", "text": "One", "rect": [8, 40, 40, 10], "style": ["group"] },
    { "type": "radio", "id": 14, "name": "two", "text": "Two", "rect": [8, 52, 40, 10] },
    { "type": "checkbox", "id": 15, "name": "check", "text": "Check", "rect": [110, 40, 40, 10], "style": ["group"] },
    { "type": "radio", "id": 16, "name": "red", "text": "Red", "rect": [110, 52, 40, 10], "style": ["group"] },
    { "type": "radio", "id": 17, "name": "blue", "text": "Blue", "rect": [150, 52, 40, 10] },
    { "type": "combo", "id": 18, "name": "targetCombo", "rect": [4, 74, 60, 50], "style": ["dropdown", "sort"],
      "items": ["_self", "_parent", "_top", "_blank"] },
    { "type": "combo", "id": 19, "name": "styleCombo", "label": ["check", "two"], "rect": [70, 74, 60, 50], "style": ["droplist"],
      "items": ["None", "Up", "Down", "Bump", "Dip"] },
    { "type": "static", "id": 20, "name": "placeholder", "rect": [140, 74, 40, 20], "style": ["hidden"] },
    { "type": "button", "id": 1, "name": "okButton", "text": "OK", "rect": [140, 100, 50, 14], "style": ["default"] }
  ]
})";

} // namespace

TEST(TemplateBuilder, EveryTemplateInTheResourcesBuildsWithItsControlsNamedAndSized)
{
    int templates = 0;
    QDirIterator it(QStringLiteral(":/templates"), { QStringLiteral("*.json") });
    while (it.hasNext()) {
        const QString path = it.next();
        const int id = QFileInfo(path).baseName().toInt();
        SCOPED_TRACE(id);
        const std::optional<DialogTemplate> dialogTemplate = LoadDialogTemplate(id);
        ASSERT_TRUE(dialogTemplate.has_value());
        EXPECT_EQ(dialogTemplate->id, id);
        const TemplateBuilder builder(*dialogTemplate);
        QWidget form;
        builder.Build(&form);
        EXPECT_EQ(form.size(), builder.Units().ToPixels(dialogTemplate->size));
        const QList<QWidget*> children
            = form.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
        EXPECT_EQ(children.size(), qsizetype(dialogTemplate->controls.size()));
        for (const TemplateControl& control : dialogTemplate->controls) {
            SCOPED_TRACE(control.name.toStdString());
            QWidget* widget = form.findChild<QWidget*>(control.name, Qt::FindDirectChildrenOnly);
            ASSERT_NE(widget, nullptr);
            EXPECT_EQ(widget->isHidden(), control.Has("hidden"));
            if (control.id != -1) {
                EXPECT_EQ(builder.ControlWithId(form, control.id), widget);
            }
        }
        ++templates;
    }
    EXPECT_GE(templates, 14);
}

template<class Form> void ExpectEveryControlOfItsClass()
{
    SCOPED_TRACE(Form::kName);
    const std::optional<DialogTemplate> dialogTemplate = LoadDialogTemplate(Form::kTemplateId);
    ASSERT_TRUE(dialogTemplate.has_value());
    QWidget form;
    TemplateBuilder(*dialogTemplate).Build(&form);
    QStringList faults;
    BindForm<Form>(form, faults);
    EXPECT_EQ(faults, QStringList());
}

TEST(TemplateBuilder, EveryFormStructFindsEachControlWithItsClass)
{
    std::apply(
        [](auto... forms) { (ExpectEveryControlOfItsClass<decltype(forms)>(), ...); }, AllForms {});

    // A control renamed in the template goes missing; another in its place has the wrong class.
    QWidget form;
    TemplateBuilder(*LoadDialogTemplate(FontDialogForm::kTemplateId)).Build(&form);
    const FontDialogForm built = FormControls<FontDialogForm>(form);
    built.boldCheck->setObjectName(QStringLiteral("renamed"));
    built.familyCombo->setObjectName(QStringLiteral("boldCheck"));
    QStringList faults;
    const FontDialogForm bound = BindForm<FontDialogForm>(form, faults);
    EXPECT_EQ(faults,
        QStringList({ "familyCombo is missing", "boldCheck is a QComboBox, not a QCheckBox" }));
    EXPECT_EQ(bound.familyCombo, nullptr);
    EXPECT_EQ(bound.boldCheck, nullptr);
    EXPECT_EQ(bound.sizeCombo, built.sizeCombo);
}

TEST(TemplateBuilder, DialogUnitsFollowTheFontAsWindowsMeasuresIt)
{
    DialogTemplate small = Parse(kMixedForm);
    DialogTemplate large = small;
    large.fontPointSize = 16;
    const TemplateBuilder smallBuilder(small);
    const TemplateBuilder largeBuilder(large);
    const DialogUnits& units = smallBuilder.Units();

    // Four horizontal units are one average character, eight vertical units one character cell
    // in whole pixels: 13 for the templates' 8-point font, as in the layouts' own measure.
    const QFontMetrics metrics(smallBuilder.Font());
    const double average = metrics.horizontalAdvance(QStringLiteral(
                               "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"))
        / 52.0;
    EXPECT_NEAR(units.ToPixelsX(4), average, 0.5);
    EXPECT_EQ(units.ToPixelsY(8), 13);
    EXPECT_NEAR(double(largeBuilder.Units().BaseWidth()) / units.BaseWidth(), 2.0, 0.35);
    EXPECT_NEAR(double(largeBuilder.Units().BaseHeight()) / units.BaseHeight(), 2.0, 0.35);

    // Rectangles that touch in dialog units touch in pixels, whatever the rounding.
    const QRect left = units.ToPixels(QRect(3, 5, 17, 9));
    const QRect right = units.ToPixels(QRect(20, 14, 17, 9));
    EXPECT_EQ(left.right() + 1, right.left());
    EXPECT_EQ(left.bottom() + 1, right.top());

    const std::unique_ptr<QWidget> form = Build(small);
    EXPECT_EQ(Named(form.get(), "nameEdit")->geometry().topLeft(),
        QPoint(units.ToPixelsX(4), units.ToPixelsY(14)));
    EXPECT_EQ(form->font(), smallBuilder.Font());
}

TEST(TemplateBuilder, TabOrderFollowsTheTemplateAndSkipsStaticsAndFrames)
{
    const std::unique_ptr<QWidget> form = Build(Parse(kMixedForm));
    QStringList chain;
    QWidget* widget = Named(form.get(), "nameEdit");
    for (int guard = 0; guard < 40 && chain.size() < 9; ++guard) {
        // An editable combo passes focus on through its own line edit.
        if (widget->parentWidget() == form.get() && widget->focusPolicy() & Qt::TabFocus)
            chain.append(widget->objectName());
        widget = widget->nextInFocusChain();
    }
    EXPECT_EQ(chain,
        QStringList({ "nameEdit", "one", "two", "check", "red", "blue", "targetCombo", "styleCombo",
            "okButton" }));
}

TEST(TemplateBuilder, ControlsTakeTheirStylesAndTexts)
{
    const std::unique_ptr<QWidget> form = Build(Parse(kMixedForm));

    // A mnemonic label leads to the next control that takes focus; "&&" shows one ampersand.
    EXPECT_EQ(Named<QLabel>(form.get(), "nameLabel")->buddy(), Named(form.get(), "nameEdit"));
    EXPECT_EQ(Named<QLabel>(form.get(), "fish")->text(), QStringLiteral("Fish & Chips"));

    // Screen readers: the mnemonic label names its control over a nearer static; a control
    // without is named by the nearest static before it, which would hide a plain "&" as its
    // buddy, or by the controls the template names.
    EXPECT_EQ(Named(form.get(), "nameEdit")->accessibleName(), QStringLiteral("Name:"));
    EXPECT_EQ(Named(form.get(), "targetCombo")->accessibleName(), QStringLiteral("Fish & Chips"));
    EXPECT_EQ(Named<QLabel>(form.get(), "fish")->buddy(), nullptr);
    EXPECT_EQ(Named(form.get(), "styleCombo")->accessibleName(), QStringLiteral("Check Two"));

    EXPECT_EQ(Named<UpDown>(form.get(), "nameUpDown")->buddy(), Named(form.get(), "nameEdit"));
    EXPECT_TRUE(Named(form.get(), "placeholder")->isHidden());
    EXPECT_TRUE(Named<QPushButton>(form.get(), "okButton")->isDefault());

    // The group box is a frame behind the radio buttons, not their parent.
    EXPECT_EQ(Named(form.get(), "one")->parentWidget(), form.get());
    EXPECT_EQ(form->children().indexOf(Named(form.get(), "choiceGroup")), 0);
}

TEST(TemplateBuilder, RadioButtonsAreExclusiveOnlyWithinTheirGroup)
{
    const std::unique_ptr<QWidget> form = Build(Parse(kMixedForm));
    auto* one = Named<QRadioButton>(form.get(), "one");
    auto* two = Named<QRadioButton>(form.get(), "two");
    auto* red = Named<QRadioButton>(form.get(), "red");
    auto* blue = Named<QRadioButton>(form.get(), "blue");
    ASSERT_NE(one->group(), nullptr);
    EXPECT_EQ(one->group(), two->group());
    EXPECT_NE(one->group(), red->group());
    EXPECT_EQ(red->group(), blue->group());

    one->click();
    red->click();
    two->click();
    EXPECT_FALSE(one->isChecked());
    EXPECT_TRUE(two->isChecked());
    EXPECT_TRUE(red->isChecked());
}

TEST(TemplateBuilder, SortedCombosKeepTheirListInOrderIgnoringCaseUnsortedOnesDoNot)
{
    const std::unique_ptr<QWidget> form = Build(Parse(kMixedForm));
    auto* sorted = Named<QComboBox>(form.get(), "targetCombo");
    auto* unsorted = Named<QComboBox>(form.get(), "styleCombo");

    EXPECT_EQ(ItemTexts(sorted), QStringList({ "_blank", "_parent", "_self", "_top" }));
    EXPECT_EQ(ItemTexts(unsorted), QStringList({ "None", "Up", "Down", "Bump", "Dip" }));
    // Nothing is selected until the form says so, and typed text is never added to the list.
    EXPECT_EQ(sorted->currentIndex(), -1);
    EXPECT_EQ(sorted->currentText(), QString());
    EXPECT_EQ(unsorted->currentIndex(), -1);
    EXPECT_TRUE(sorted->isEditable());
    EXPECT_FALSE(unsorted->isEditable());
    EXPECT_EQ(sorted->insertPolicy(), QComboBox::NoInsert);

    sorted->addItem(QStringLiteral("_Bottom"));
    sorted->addItem(QStringLiteral("mailto:a@b"));
    sorted->addItems({ QStringLiteral("HTTP://x"), QStringLiteral("_a") });
    EXPECT_EQ(ItemTexts(sorted),
        QStringList(
            { "_a", "_blank", "_Bottom", "_parent", "_self", "_top", "HTTP://x", "mailto:a@b" }));
}

TEST(TemplateBuilder, MalformedTemplatesAreRefused)
{
    EXPECT_FALSE(ParseDialogTemplate("{ not json").has_value());
    EXPECT_FALSE(ParseDialogTemplate(R"({"id": 1, "controls": [
        { "type": "slider", "id": 5, "rect": [0, 0, 10, 10] }]})")
                     .has_value());
    EXPECT_FALSE(LoadDialogTemplate(424242).has_value());
}
