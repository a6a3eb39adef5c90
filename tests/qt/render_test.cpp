// The Qt backend renders every template faithfully: positions, order, styles and names.
#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <map>

#include "platform/qt/accessible_names.h"
#include "platform/qt/dialog_units.h"
#include "qt_support.h"
#include "res/resource_ids.h"
#include "res/templates.h"

namespace ostrova::platform::qt::testing {
namespace {

using namespace ostrova::res;

QString Text(std::string_view s) { return QString::fromStdString(std::string(s)); }

TEST(DialogUnits, TemplateFontGivesTheWindowsBaseUnits) {
    App();
    const DialogMetrics m = MetricsFor(MainTemplate());
    EXPECT_EQ(QFontInfo(m.font).family(), "Liberation Serif");
    EXPECT_EQ(m.font.pixelSize(), 13);
    EXPECT_EQ(m.baseX, 7);
    EXPECT_EQ(m.baseY, 15);
    EXPECT_EQ(ClientSize(MainTemplate(), m), QSize(565, 671));
    // MulDiv rounding on each part: 17 * 7 / 4 = 29.75 -> 30, 91 * 15 / 8 = 170.6 -> 171.
    EXPECT_EQ(ToPixels({17, 91, 33, 18}, m), QRect(30, 171, 58, 34));
}

TEST(DialogUnits, CellHeightPicksThePixelSizeWhoseAscentPlusDescentFits) {
    App();
    const QFont font = FontForCellHeight({"Arial", 20, 700, true});
    const QFontMetrics fm(font);
    EXPECT_EQ(fm.ascent() + fm.descent(), 20);
    EXPECT_EQ(QFontInfo(font).family(), "Liberation Sans");
    EXPECT_TRUE(font.bold());
    EXPECT_TRUE(font.italic());
    QFont larger = font;
    larger.setPixelSize(font.pixelSize() + 1);
    const QFontMetrics lm(larger);
    EXPECT_GT(lm.ascent() + lm.descent(), 20);
}

// --- Every control of every template ---------------------------------------------------------

class TemplateRender : public QtFixture, public ::testing::WithParamInterface<int> {};

void CheckControl(DialogWindow& window, int index, const ControlTemplate& t) {
    SCOPED_TRACE(::testing::Message() << "control " << index << " id " << t.id << " \""
                                      << std::string(t.text) << "\"");
    QWidget* w = window.control(index);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->parentWidget(), &window);  // a direct child of the dialog
    const QRect expected = ToPixels(t.rect, window.metrics());
    const bool combo = t.kind == ControlKind::ComboDropDown || t.kind == ControlKind::ComboDropList;
    if (combo) {
        EXPECT_EQ(w->geometry().topLeft(), expected.topLeft());
        EXPECT_EQ(w->width(), expected.width());
        // One line high: the template's height includes the dropped-down list.
        EXPECT_EQ(w->height(), w->sizeHint().height());
        EXPECT_LT(w->height(), expected.height());
    } else {
        EXPECT_EQ(w->geometry(), expected);
    }
    const bool tabStop = (t.style & kStyleTabStop) != 0;

    switch (t.kind) {
        case ControlKind::PushButton: {
            auto* b = qobject_cast<QPushButton*>(w);
            ASSERT_NE(b, nullptr);
            EXPECT_EQ(b->text(), Text(t.text));
            EXPECT_FALSE(b->autoDefault());
            EXPECT_EQ(b->isDefault(), (t.style & kStyleDefault) != 0);
            break;
        }
        case ControlKind::RadioButton: {
            auto* r = qobject_cast<QRadioButton*>(w);
            ASSERT_NE(r, nullptr);
            EXPECT_EQ(r->text(), Text(t.text));
            EXPECT_FALSE(r->autoExclusive());
            EXPECT_EQ(r->group(), nullptr);
            break;
        }
        case ControlKind::CheckBox: {
            auto* c = qobject_cast<QCheckBox*>(w);
            ASSERT_NE(c, nullptr);
            EXPECT_EQ(c->text(), Text(t.text));
            break;
        }
        case ControlKind::GroupBox: {
            auto* g = qobject_cast<QGroupBox*>(w);
            ASSERT_NE(g, nullptr);
            EXPECT_EQ(g->title(), Text(t.text));
            EXPECT_TRUE(g->testAttribute(Qt::WA_TransparentForMouseEvents));
            // Beneath every control that is not a frame.
            const QObjectList stack = window.children();
            for (QWidget* other : window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
                if (qobject_cast<QGroupBox*>(other) == nullptr && other->isVisibleTo(&window)) {
                    EXPECT_LT(stack.indexOf(g), stack.indexOf(other));
                }
            }
            break;
        }
        case ControlKind::Label: {
            auto* l = qobject_cast<QLabel*>(w);
            ASSERT_NE(l, nullptr);
            EXPECT_EQ(l->textFormat(), Qt::PlainText);
            if (t.id != IDC_LABEL_DATETIME) {
                EXPECT_EQ(l->text(), Text(t.text));
            }
            if ((t.style & kStyleCenterV) != 0) {
                EXPECT_EQ(l->alignment() & Qt::AlignVertical_Mask, Qt::AlignVCenter);
            }
            EXPECT_EQ(l->focusPolicy(), Qt::NoFocus);
            break;
        }
        case ControlKind::Icon: {
            auto* l = qobject_cast<QLabel*>(w);
            ASSERT_NE(l, nullptr);
            EXPECT_FALSE(l->pixmap().isNull());
            break;
        }
        case ControlKind::Edit: {
            if ((t.style & kStyleMultiLine) != 0 && (t.style & kStyleAutoHScroll) == 0) {
                auto* area = qobject_cast<QPlainTextEdit*>(w);
                ASSERT_NE(area, nullptr);
                EXPECT_EQ(area->isReadOnly(), (t.style & kStyleReadOnly) != 0);
                break;
            }
            // Recipient edits carry the multi-line style and are rendered single-line.
            auto* e = qobject_cast<QLineEdit*>(w);
            ASSERT_NE(e, nullptr);
            EXPECT_EQ(e->echoMode(),
                      (t.style & kStylePassword) != 0 ? QLineEdit::Password : QLineEdit::Normal);
            EXPECT_EQ(e->isReadOnly(), (t.style & kStyleReadOnly) != 0);
            EXPECT_EQ(e->maxLength(), 32767);  // the framework refuses growth, not the widget
            EXPECT_EQ(e->validator(), nullptr);
            EXPECT_EQ(e->hasFrame(), (t.style & kStyleBorder) != 0);
            break;
        }
        case ControlKind::ComboDropDown:
        case ControlKind::ComboDropList: {
            auto* c = qobject_cast<QComboBox*>(w);
            ASSERT_NE(c, nullptr);
            EXPECT_EQ(c->isEditable(), t.kind == ControlKind::ComboDropDown);
            EXPECT_EQ(c->insertPolicy(), QComboBox::NoInsert);
            EXPECT_EQ(c->completer(), nullptr);
            break;
        }
    }
    if (t.kind != ControlKind::Label && t.kind != ControlKind::GroupBox &&
        t.kind != ControlKind::Icon) {
        EXPECT_EQ(w->focusPolicy(), tabStop ? Qt::StrongFocus : Qt::ClickFocus);
    }
}

TEST_P(TemplateRender, EveryControlAtItsRectangleInTemplateOrderWithItsStyle) {
    const DialogTemplate& tpl = *FindTemplate(GetParam());
    CDialog dlg(tpl);
    auto watcher = WhenOpen(dlg, [&](DialogWindow& window) {
        EXPECT_EQ(window.windowTitle(), Text(tpl.title));
        // The main window is the application's own window; the others are modal dialogs.
        EXPECT_EQ(window.windowType(), tpl.appWindow ? Qt::Window : Qt::Dialog);
        EXPECT_EQ(window.windowModality(), tpl.appWindow ? Qt::NonModal : Qt::ApplicationModal);
        EXPECT_FALSE(window.windowIcon().isNull());
        EXPECT_EQ(window.size(), ClientSize(tpl, window.metrics()));
        ASSERT_EQ(window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly).size(),
                  static_cast<qsizetype>(tpl.controls.size()) + 1);  // + the scroll bar
        // Creation order, which is Qt's focus chain, follows the template.
        QWidget* previous = nullptr;
        for (std::size_t i = 0; i < tpl.controls.size(); ++i) {
            CheckControl(window, static_cast<int>(i), tpl.controls[i]);
            QWidget* w = window.control(static_cast<int>(i));
            if (previous != nullptr) {
                QWidget* next = previous->nextInFocusChain();
                while (next != nullptr && next->parentWidget() != &window) next = next->nextInFocusChain();
                EXPECT_EQ(next, w) << "focus chain at control " << i;
            }
            previous = w;
        }
        dlg.EndDialog(kIdCancel);
    });
    EXPECT_EQ(dlg.DoModal(), kIdCancel);
    EXPECT_TRUE(watcher->fired());
}

INSTANTIATE_TEST_SUITE_P(AllTemplates, TemplateRender,
                         ::testing::Values(IDD_ABOUTBOX, IDD_MAIN, IDD_EMAIL_SETTING,
                                           IDD_OPERATOR_PARAM, IDD_FTP_SETTING, IDD_HTTP_SETTING));

TEST_F(TemplateRender, TheMainFormIs565By671PixelsAndStandsWhereTheFrameMovesIt) {
    CDialog dlg(MainTemplate());
    auto watcher = WhenOpen(dlg, [&](DialogWindow& window) {
        EXPECT_EQ(window.size(), QSize(565, 671));
        window.MoveWindow(0, 0, 548, 690);  // offscreen windows have no frame
        EXPECT_EQ(window.frameGeometry(), QRect(0, 0, 548, 690));
        dlg.EndDialog(kIdCancel);
    });
    dlg.DoModal();
    EXPECT_TRUE(watcher->fired());
}

// --- Names for screen readers ----------------------------------------------------------------

QString AccessibleName(QWidget* w) {
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(w);
    return iface != nullptr ? iface->text(QAccessible::Name) : QString();
}

TEST_F(TemplateRender, MainFormEditsAndCombosAreNamedByWhatStandsBesideThem) {
    const std::map<int, QString> editNames = {
        {IDC_EDIT_PHONE1, "Phone1"},  {IDC_EDIT_PHONE2, "Phone2"}, {IDC_EDIT_PHONE3, "Phone3"},
        {IDC_EDIT_PHONE4, "Phone4"},  {IDC_EDIT_EMAIL1, "Email 1"}, {IDC_EDIT_EMAIL2, "Email 2"},
        {IDC_EDIT_EMAIL3, "Email 3"}, {IDC_EDIT_EMAIL4, "Email 4"}, {IDC_EDIT_HOUR, "Hour"},
        {IDC_EDIT_MINUTE, "Minute"},  {IDC_EDIT_MAXNUM, "Max Num"}, {IDC_EDIT_IMAGEFROM, "Image From"},
    };
    const std::map<int, int> comboLabels = {
        {IDC_LABEL_COUNTRY, IDC_COMBO_COUNTRY},
        {IDC_LABEL_OPERATOR, IDC_COMBO_OPERATOR},
        {IDC_LABEL_IMAGEQUALITY, IDC_COMBO_IMAGEQUALITY},
        {IDC_LABEL_SMSCONTROL, IDC_COMBO_SMSCONTROL},
        {IDC_LABEL_FILETYPE, IDC_COMBO_FILETYPE},
    };
    CDialog dlg(MainTemplate());
    auto watcher = WhenOpen(dlg, [&](DialogWindow& window) {
        auto widget = [&](int id) { return window.control(dlg.IndexOf(id)); };
        for (const auto& [id, name] : editNames) EXPECT_EQ(AccessibleName(widget(id)), name) << id;
        for (const auto& [label, combo] : comboLabels) {
            EXPECT_EQ(qobject_cast<QLabel*>(widget(label))->buddy(), widget(combo)) << label;
        }
        EXPECT_EQ(widget(IDC_COMBO_SENDTO)->accessibleDescription(), "Send To");
        EXPECT_EQ(AccessibleName(widget(IDC_BTN_SAVEAS)), "Save as...");
        EXPECT_EQ(AccessibleName(widget(IDC_RADIO_DAILY)), "Daily Report");
        EXPECT_EQ(AccessibleName(widget(IDC_CHECK_STATUSRESPONSE)), "Status Response");
        dlg.EndDialog(kIdCancel);
    });
    dlg.DoModal();
    EXPECT_TRUE(watcher->fired());
}

TEST_F(TemplateRender, AnEditKeepsTheNameOfItsLabelWhenTheLabelChanges) {
    CDialog dlg(*FindTemplate(IDD_EMAIL_SETTING));
    auto watcher = WhenOpen(dlg, [&](DialogWindow& window) {
        QWidget* account = window.control(dlg.IndexOf(IDC_EMAIL_ACCOUNT));
        EXPECT_EQ(AccessibleName(account), "Account ( @xxx )");
        dlg.SetItemText(IDC_EMAIL_ACCOUNT_LABEL, "Username");  // as a provider pick does
        EXPECT_EQ(AccessibleName(account), "Username");
        dlg.EndDialog(kIdCancel);
    });
    dlg.DoModal();
    EXPECT_TRUE(watcher->fired());
}

TEST_F(TemplateRender, RadioButtonsAreAnnouncedAsRadioButtonsAndPressLikeAClick) {
    CDialog dlg(MainTemplate());
    auto watcher = WhenOpen(dlg, [&](DialogWindow& window) {
        dlg.CheckItem(IDC_RADIO_INSTANT, true);
        auto iface = [&](int id) {
            return QAccessible::queryAccessibleInterface(window.control(dlg.IndexOf(id)));
        };
        QAccessibleInterface* instant = iface(IDC_RADIO_INSTANT);
        QAccessibleInterface* daily = iface(IDC_RADIO_DAILY);
        ASSERT_TRUE(instant != nullptr && daily != nullptr);
        EXPECT_EQ(daily->role(), QAccessible::RadioButton);
        EXPECT_EQ(daily->text(QAccessible::Name), "Daily Report");
        EXPECT_TRUE(instant->state().checkable && instant->state().checked);
        EXPECT_FALSE(daily->state().checked);

        QAccessibleActionInterface* actions = daily->actionInterface();
        ASSERT_NE(actions, nullptr);
        const QString press = QAccessibleActionInterface::pressAction();
        EXPECT_TRUE(actions->actionNames().contains(press));
        actions->doAction(press);  // the framework's click: the group follows
        EXPECT_TRUE(dlg.IsItemChecked(IDC_RADIO_DAILY));
        EXPECT_FALSE(dlg.IsItemChecked(IDC_RADIO_INSTANT));
        EXPECT_TRUE(daily->state().checked);
        dlg.EndDialog(kIdCancel);
    });
    dlg.DoModal();
    EXPECT_TRUE(watcher->fired());
}

// A name the template gives a control is the backend's only source for it, whatever stands
// beside it and whichever dialog it is.
TEST(AccessibleNames, ANameFromTheTemplateComesFirst) {
    constexpr ControlTemplate controls[] = {
        {kNoId, ControlKind::Label, "Daily", {0, 0, 30, 12}},
        {7, ControlKind::Edit, "", {32, 0, 20, 12}, kStyleNone, "Hour"},
    };
    const DialogTemplate tpl{1, "", 60, 20, "Times New Roman", 10, false, false, controls};
    const auto links = AccessibleLinks(tpl);
    ASSERT_EQ(links.size(), 1u);
    EXPECT_EQ(links[0].name, "Hour");
    EXPECT_EQ(links[0].label, -1);
}

// In the secondary dialogs every label names the edit or combo on its row.
TEST(AccessibleNames, SecondaryDialogLabelsPairWithTheControlOnTheirRow) {
    for (int id : {IDD_EMAIL_SETTING, IDD_OPERATOR_PARAM, IDD_FTP_SETTING, IDD_HTTP_SETTING}) {
        const DialogTemplate& tpl = *FindTemplate(id);
        SCOPED_TRACE(id);
        const auto links = AccessibleLinks(tpl);
        for (std::size_t i = 0; i < tpl.controls.size(); ++i) {
            const ControlTemplate& label = tpl.controls[i];
            if (label.kind != ControlKind::Label) continue;
            const auto link = std::find_if(links.begin(), links.end(), [&](const AccessibleLink& l) {
                return l.label == static_cast<int>(i);
            });
            ASSERT_NE(link, links.end()) << std::string(label.text);
            const ControlTemplate& control = tpl.controls[static_cast<std::size_t>(link->control)];
            EXPECT_LE(std::abs(control.rect.y - label.rect.y), 1) << std::string(label.text);
            EXPECT_GT(control.rect.x, label.rect.x);
        }
    }
}

}  // namespace
}  // namespace ostrova::platform::qt::testing
