// The Qt backend renders every template faithfully: positions, kinds, styles and names; and
// the main window scrolls on a short screen at every scale.
// The ScaledScreen runs repeat the scrolling test at QT_SCALE_FACTOR 1.25, 1.5 and 2: the frame
// counts in device pixels, Qt places widgets in logical ones.
#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QScrollBar>
#include <cmath>

#include "config/record.h"
#include "platform/accessible_names.h"
#include "qt_support.h"
#include "res/resource_ids.h"
#include "res/templates.h"
#include "ui/main/frame_metrics.h"
#include "ui/main/settings_dlg.h"

namespace ostrova::platform::qt::testing {
namespace {

using namespace ostrova::res;

// The Qt class of each kind, in ControlKind order; a wrapping multi-line edit is a text area.
const char* const kClassOf[] = {"QPushButton", "QRadioButton", "QCheckBox", "QGroupBox", "QLabel",
                                "QLabel",      "QLineEdit",    "QComboBox", "QComboBox"};

void CheckControl(DialogWindow& window, const DialogTemplate& tpl, std::size_t i) {
    const ControlTemplate& t = tpl.controls[i];
    SCOPED_TRACE(::testing::Message() << "control " << i << " \"" << std::string(t.text) << "\"");
    QWidget* w = window.control(static_cast<int>(i));
    EXPECT_EQ(w->parentWidget(), &window);
    const bool area = (t.style & kStyleMultiLine) != 0 && (t.style & kStyleAutoHScroll) == 0;
    EXPECT_TRUE(w->inherits(area ? "QPlainTextEdit" : kClassOf[static_cast<int>(t.kind)]));
    QRect rect = ToPixels(t.rect, window.metrics());
    if (auto* c = qobject_cast<QComboBox*>(w)) {
        rect.setHeight(c->sizeHint().height());  // the template's height includes the list
        EXPECT_EQ(c->isEditable(), t.kind == ControlKind::ComboDropDown);
    }
    EXPECT_EQ(w->geometry(), rect);
    const bool passive = t.kind >= ControlKind::GroupBox && t.kind <= ControlKind::Icon;
    const bool tabStop = (t.style & kStyleTabStop) != 0;
    EXPECT_EQ(w->focusPolicy(), passive ? Qt::NoFocus : tabStop ? Qt::StrongFocus : Qt::ClickFocus);
    if (t.kind <= ControlKind::Label && t.id != IDC_LABEL_DATETIME) {
        EXPECT_EQ(w->property(t.kind == ControlKind::GroupBox ? "title" : "text").toString(),
                  QString::fromStdString(std::string(t.text)));
    }
    // A push button is default only by its template.
    EXPECT_EQ(w->property("default").toBool(), (t.style & kStyleDefault) != 0);
    // In the secondary dialogs every label names the control on its row.
    const bool named = tpl.appWindow || tpl.id == IDD_ABOUTBOX || t.kind != ControlKind::Label;
    EXPECT_TRUE(named || qobject_cast<QLabel*>(w)->buddy() != nullptr);
    EXPECT_EQ(w->property("echoMode").toInt() == QLineEdit::Password,
              (t.style & kStylePassword) != 0);
}

// Screen readers hear each edit and combo box named as the shared rule says: by the label
// beside it, its buddy (Qt names a combo after its current entry, so the buddy is what ties
// them), or by a name or a description of its own.
void CheckNames(DialogWindow& window, const DialogTemplate& tpl) {
    for (const AccessibleLink& link : AccessibleLinks(tpl)) {
        QWidget* w = window.control(link.control);
        if (link.label >= 0) {
            EXPECT_EQ(qobject_cast<QLabel*>(window.control(link.label))->buddy(), w) << link.label;
        }
        EXPECT_EQ(w->accessibleName().toStdString(), link.name) << link.control;
        EXPECT_EQ(w->accessibleDescription().toStdString(), link.description) << link.control;
    }
}

// On the main form: a label that changes (as the Email dialog's account label does) renames
// its edit, and radio buttons are announced as such, with their check and a press that clicks.
void CheckScreenReaders(DialogWindow& window, CDialog& dlg) {
    auto ax = [&](int id) { return QAccessible::queryAccessibleInterface(ControlOf(window, id)); };
    dlg.SetItemText(IDC_LABEL_IMAGEFROM, "Username");
    EXPECT_EQ(ax(IDC_EDIT_IMAGEFROM)->text(QAccessible::Name), "Username");

    dlg.CheckItem(IDC_RADIO_INSTANT, true);
    QAccessibleInterface* daily = ax(IDC_RADIO_DAILY);
    EXPECT_EQ(daily->role(), QAccessible::RadioButton);
    EXPECT_FALSE(daily->state().checked);
    daily->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_TRUE(daily->state().checked);
    EXPECT_FALSE(dlg.IsItemChecked(IDC_RADIO_INSTANT));
}

class Render : public QtFixture, public ::testing::WithParamInterface<int> {};

TEST_P(Render, EveryControlIsADirectChildAtItsRectangleWithItsKindAndStyle) {
    const DialogTemplate& tpl = *FindTemplate(GetParam());
    CDialog dlg(tpl);
    RunDialog(dlg, [&](DialogWindow& window) {
        // The main window leaves the others usable; the dialogs block the application.
        EXPECT_EQ(window.windowModality(), tpl.appWindow ? Qt::NonModal : Qt::ApplicationModal);
        for (std::size_t i = 0; i < tpl.controls.size(); ++i) CheckControl(window, tpl, i);
        CheckNames(window, tpl);
        if (tpl.appWindow) {
            EXPECT_EQ(window.size(), QSize(565, 671));
            // Rounded part by part: 17 * 7 / 4 = 29.75 -> 30, 91 * 15 / 8 = 170.6 -> 171.
            EXPECT_EQ(ToPixels({17, 91, 33, 18}, window.metrics()), QRect(30, 171, 58, 34));
            CheckScreenReaders(window, dlg);
        }
    });
}

INSTANTIATE_TEST_SUITE_P(AllTemplates, Render,
                         ::testing::Values(IDD_ABOUTBOX, IDD_MAIN, IDD_EMAIL_SETTING,
                                           IDD_OPERATOR_PARAM, IDD_FTP_SETTING, IDD_HTTP_SETTING));

// The main window on a short screen of the current scale.
struct ScaledScreen : QtFixture {
    ScaledScreen() { backend_->OverrideScreen(720, dpi); }
    const double ratio = QGuiApplication::primaryScreen()->devicePixelRatio();
    const int dpi = static_cast<int>(std::lround(96 * ratio));
    ConfigRecord record{};
    CustomPreset custom{};
    ui::CSettingsDlg dlg{record, custom};
};

TEST_F(ScaledScreen, LinesAndTheThumbMoveTheFormToThePosition) {
    RunDialog(dlg, [&](DialogWindow& window) {
        const ui::FrameMetrics m = ui::ComputeFrameMetrics(720, dpi);
        auto logical = [&](int v) { return static_cast<int>(std::lround(v / ratio)); };
        EXPECT_EQ(window.frameGeometry(), QRect(0, 0, logical(m.width), logical(m.height)));
        QScrollBar* bar = window.scrollBar();
        ASSERT_TRUE(bar->isVisible());
        EXPECT_EQ(bar->maximum(), m.scrollMax - m.scrollPage + 1);  // where Windows' thumb stops

        // Lines down, then the thumb dragged: each moves the form to the new position,
        // converted once rather than summed from rounded steps.
        QWidget* save = ControlOf(window, IDC_BTN_SAVE);
        const int bottom = save->geometry().bottom();
        auto formAt = [&](int pos) {
            EXPECT_EQ(dlg.GetScrollInfo().pos, pos);
            EXPECT_EQ(save->geometry().bottom(), bottom - std::lround(pos / ratio));
        };
        for (int i = 0; i < 3; ++i) bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        ASSERT_GT(bar->value(), 0);
        formAt(bar->value());
        const int thumb = bar->value() + 7;
        bar->setSliderPosition(thumb);
        formAt(thumb);
    });
}

}  // namespace
}  // namespace ostrova::platform::qt::testing
