// The Qt backend renders every template faithfully: positions, kinds, styles and names; and
// the main window scrolls on a short screen at every scale.
// The ScaledScreen runs repeat the scrolling test at QT_SCALE_FACTOR 1.25, 1.5 and 2: the frame
// counts in device pixels, Qt places widgets in logical ones.
#include <QAccessible>
#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QScrollBar>
#include <algorithm>
#include <cmath>
#include <utility>

#include "config/record.h"
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
        EXPECT_TRUE(c->insertPolicy() == QComboBox::NoInsert && c->completer() == nullptr);
    }
    EXPECT_EQ(w->geometry(), rect);
    const bool passive = t.kind >= ControlKind::GroupBox && t.kind <= ControlKind::Icon;
    const bool tabStop = (t.style & kStyleTabStop) != 0;
    EXPECT_EQ(w->focusPolicy(), passive ? Qt::NoFocus : tabStop ? Qt::StrongFocus : Qt::ClickFocus);
    if (t.kind <= ControlKind::Label && t.id != IDC_LABEL_DATETIME) {
        EXPECT_EQ(w->property(t.kind == ControlKind::GroupBox ? "title" : "text").toString(),
                  QString::fromStdString(std::string(t.text)));
    }
    EXPECT_EQ(w->property("readOnly").toBool(), (t.style & kStyleReadOnly) != 0);
    EXPECT_EQ(!w->property("pixmap").value<QPixmap>().isNull(), t.kind == ControlKind::Icon);
    // A push button is default only by its template, never by taking the focus.
    EXPECT_EQ(w->property("default").toBool(), (t.style & kStyleDefault) != 0);
    EXPECT_FALSE(w->property("autoDefault").toBool());
    if (auto* label = qobject_cast<QLabel*>(w); label != nullptr && t.kind == ControlKind::Label) {
        EXPECT_EQ(label->textFormat(), Qt::PlainText);
        EXPECT_EQ((label->alignment() & Qt::AlignVCenter) != 0, (t.style & kStyleCenterV) != 0);
        // In the secondary dialogs every label names the control on its row.
        EXPECT_TRUE(tpl.appWindow || tpl.id == IDD_ABOUTBOX || label->buddy() != nullptr);
    }
    if (auto* e = qobject_cast<QLineEdit*>(w)) {
        // The framework refuses growth past a field's size; the widget neither cuts nor blocks.
        EXPECT_TRUE(e->maxLength() == 32767 && e->validator() == nullptr);
        EXPECT_EQ(e->echoMode() == QLineEdit::Password, (t.style & kStylePassword) != 0);
        EXPECT_EQ(e->hasFrame(), (t.style & kStyleBorder) != 0);
    }
}

// Screen readers hear the name beside each control, and radio buttons as such.
void CheckScreenReaders(DialogWindow& window, CDialog& dlg) {
    auto widget = [&](int id) { return ControlOf(window, id); };
    auto iface = [&](int id) { return QAccessible::queryAccessibleInterface(widget(id)); };
    auto name = [&](int id) { return iface(id)->text(QAccessible::Name); };
    // Edits are named by the check box or label beside them, or by the template; buttons by
    // their text. Qt names a combo after its current entry, so its label is its buddy instead.
    const std::pair<int, const char*> names[] = {{IDC_EDIT_PHONE1, "Phone1"},
                                                 {IDC_EDIT_HOUR, "Hour"},
                                                 {IDC_RADIO_DAILY, "Daily Report"},
                                                 {IDC_EDIT_IMAGEFROM, "Image From"}};
    for (const auto& [id, expected] : names) EXPECT_EQ(name(id), expected) << id;
    for (auto [label, combo] : {std::pair{IDC_LABEL_COUNTRY, IDC_COMBO_COUNTRY},
                                std::pair{IDC_LABEL_FILETYPE, IDC_COMBO_FILETYPE}})
        EXPECT_EQ(qobject_cast<QLabel*>(widget(label))->buddy(), widget(combo)) << label;
    EXPECT_EQ(widget(IDC_COMBO_SENDTO)->accessibleDescription(), "Send To");
    // A label that changes (as the Email dialog's account label does) renames its edit.
    dlg.SetItemText(IDC_LABEL_IMAGEFROM, "Username");
    EXPECT_EQ(name(IDC_EDIT_IMAGEFROM), "Username");

    // Radio buttons are announced as such, with their check and a press that clicks.
    dlg.CheckItem(IDC_RADIO_INSTANT, true);
    QAccessibleInterface* daily = iface(IDC_RADIO_DAILY);
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
        // The main window is the application's own window; the others are modal dialogs.
        EXPECT_EQ(window.windowType(), tpl.appWindow ? Qt::Window : Qt::Dialog);
        EXPECT_EQ(window.windowModality(), tpl.appWindow ? Qt::NonModal : Qt::ApplicationModal);
        EXPECT_EQ(window.size(), ClientSize(tpl, window.metrics()));
        for (std::size_t i = 0; i < tpl.controls.size(); ++i) CheckControl(window, tpl, i);
        if (tpl.appWindow) {
            EXPECT_EQ(window.size(), QSize(565, 671));
            // Rounded part by part: 17 * 7 / 4 = 29.75 -> 30, 91 * 15 / 8 = 170.6 -> 171.
            EXPECT_EQ(ToPixels({17, 91, 33, 18}, window.metrics()), QRect(30, 171, 58, 34));
            CheckScreenReaders(window, dlg);
        }
        dlg.SetScrollInfo({0, 99, 100, 0, 0});  // a page that shows the whole range needs no bar
        EXPECT_FALSE(window.scrollBar()->isVisible());
        // Frames are drawn beneath all that they frame, though most come after it.
        EXPECT_TRUE(std::ranges::is_partitioned(
            window.children(), [](QObject* o) { return o->inherits("QGroupBox"); }));
        window.close();  // the close box is Cancel, which the framework handles
        EXPECT_TRUE(window.ended());
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

TEST_F(ScaledScreen, EveryScrollMovesTheFormToThePositionAndTheClockHasA20PixelCell) {
    RunDialog(dlg, [&](DialogWindow& window) {
        const ui::FrameMetrics m = ui::ComputeFrameMetrics(720, dpi);
        auto logical = [&](int v) { return static_cast<int>(std::lround(v / ratio)); };
        EXPECT_EQ(window.frameGeometry(), QRect(0, 0, logical(m.width), logical(m.height)));
        QScrollBar* bar = window.scrollBar();
        ASSERT_TRUE(bar->isVisible());
        EXPECT_EQ(bar->geometry().right(), window.width() - 1);
        EXPECT_EQ(bar->maximum(), m.scrollMax - m.scrollPage + 1);  // where Windows' thumb stops
        // Every control lies left of the scroll bar, inside the window.
        for (int i = 0; window.control(i) != nullptr; ++i)
            EXPECT_LT(window.control(i)->geometry().right(), bar->geometry().left()) << i;

        // The clock's font as the screen draws it: its logical size times the ratio, in pixels.
        QFont clock = ControlOf(window, IDC_LABEL_DATETIME)->font();
        EXPECT_TRUE(clock.bold() && clock.italic());
        const double size = clock.pixelSize() > 0 ? clock.pixelSize()
                                                  : clock.pointSizeF() * window.logicalDpiY() / 72;
        clock.setPixelSize(static_cast<int>(std::lround(size * ratio)));
        EXPECT_EQ(QFontMetrics(clock).ascent() + QFontMetrics(clock).descent(), 20);

        // Every request as the user makes it moves the form to the new position, converted
        // once rather than summed from rounded steps.
        QWidget* save = ControlOf(window, IDC_BTN_SAVE);
        const int bottom = save->geometry().bottom();
        int last = 0;
        using A = QAbstractSlider;
        auto request = [&](const char* what, const std::function<void()>& make) {
            make();
            const int pos = dlg.GetScrollInfo().pos;
            EXPECT_NE(pos, std::exchange(last, pos)) << what;
            EXPECT_EQ(bar->value(), pos) << what;
            EXPECT_EQ(save->geometry().bottom(), bottom - std::lround(pos / ratio)) << what;
        };
        QWidget* label = ControlOf(window, IDC_LABEL_FILETYPE);
        for (int i = 0; i < 3; ++i)
            request("line down", [&] { bar->triggerAction(A::SliderSingleStepAdd); });
        request("wheel", [&] { Turn(label, QPoint(0, -120)); });  // its sign: the input test
        request("thumb", [&] { bar->setSliderPosition(bar->value() + 7); });
        const QPoint low(bar->width() / 2, bar->height() * 3 / 4);  // where Scroll here goes
        request("scroll here", [&] { PickFirstFromContextMenu(bar, low); });
        request("line up", [&] { bar->triggerAction(A::SliderSingleStepSub); });
        request("page up", [&] { bar->triggerAction(A::SliderPageStepSub); });
        request("page down", [&] { bar->triggerAction(A::SliderPageStepAdd); });
        request("bottom", [&] { bar->triggerAction(A::SliderToMaximum); });
        request("top", [&] { bar->triggerAction(A::SliderToMinimum); });
    });
}

}  // namespace
}  // namespace ostrova::platform::qt::testing
