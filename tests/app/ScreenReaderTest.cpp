#include "app/DialogAbout.h"
#include "app/DialogNewOpenProject.h"
#include "pages/DialogFont.h"
#include "pages/DialogInputDetails.h"
#include "pages/DialogLockProperties.h"
#include "pages/DialogLogging.h"
#include "pages/History.h"
#include "publish/DialogCopyProgress.h"
#include "publish/DialogResources.h"
#include "support/ShellTest.h"
#include "util/ProgramInfo.h"

#include <QAccessible>
#include <QComboBox>

namespace {

// The name a screen reader announces for the control. On Linux a combo box's own name is its
// current text; its name comes from the label it is related to.
QString AnnouncedName(QAccessibleInterface& control)
{
    if (control.role() != QAccessible::ComboBox)
        return control.text(QAccessible::Name).trimmed();
    const auto labels = control.relations(QAccessible::Label);
    return labels.isEmpty() ? QString() : labels.first().first->text(QAccessible::Name).trimmed();
}

class ScreenReaderTest : public ShellTest
{
protected:
    // Every control of window that takes the focus announces a name.
    static void ExpectEveryControlNamed(QWidget& window)
    {
        window.show();
        int controls = 0;
        for (QWidget* control : window.findChildren<QWidget*>()) {
            // An editable combo's own line edit is announced as part of the combo.
            if (control->focusPolicy() == Qt::NoFocus || !control->isVisibleTo(&window)
                || qobject_cast<QComboBox*>(control->parentWidget()))
                continue;
            ++controls;
            QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
            ASSERT_NE(accessible, nullptr);
            EXPECT_FALSE(AnnouncedName(*accessible).isEmpty())
                << qPrintable(window.objectName() + QLatin1Char('/') + control->objectName()
                       + QLatin1Char(' ') + control->metaObject()->className());
        }
        EXPECT_GT(controls, 0) << qPrintable(window.objectName());
        window.hide();
    }
};

TEST_F(ScreenReaderTest, EveryControlOfEveryPageAndDialogHasAName)
{
    ASSERT_TRUE(Start());
    FrameMain& frame = Frame();
    for (int page = 0; page < FrameMain::kPageCount; ++page) {
        ASSERT_TRUE(frame.Tabs()->activateTab(page));
        ExpectEveryControlNamed(*frame.PageAt(page));
    }

    DialogAbout about(CurrentProgramInfo(), &frame);
    ExpectEveryControlNamed(about);
    EXPECT_EQ(about.windowTitle(), QStringLiteral("About Zarnith"));
    DialogNewOpenProject newOpen({ Path("a.loc"), QString(), QString(), QString() }, &frame);
    ExpectEveryControlNamed(newOpen);
    Histories histories;
    DialogLockProperties lock(histories.UrlHistory, &frame);
    ExpectEveryControlNamed(lock);
    DialogFont font(histories.FontFamilyHistory, &frame);
    ExpectEveryControlNamed(font);
    DialogLogging logging(&frame);
    ExpectEveryControlNamed(logging);
    DialogInputDetails details(Document(), App().Project(), &frame);
    ExpectEveryControlNamed(details);
    DialogResources resources(Document(), "<APPLET>", &frame);
    ExpectEveryControlNamed(resources);
    DialogCopyProgress progress(1, &frame);
    ExpectEveryControlNamed(progress);
}

} // namespace
