#include "platform/qt/dialog_window.h"

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QTextCursor>
#include <QWheelEvent>
#include <algorithm>

#include "platform/accessible_names.h"
#include "platform/dialog_manager.h"
#include "platform/qt/accessibility.h"
#include "platform/qt/backend.h"

namespace ostrova::platform::qt {
namespace {

// A combo box scrolls its entries by wheel only while it has the focus; otherwise the wheel
// belongs to the dialog.
class Combo : public QComboBox {
public:
    using QComboBox::QComboBox;

protected:
    void wheelEvent(QWheelEvent* event) override {
        if (!hasFocus()) {
            event->ignore();
            return;
        }
        QComboBox::wheelEvent(event);
    }
};

// A multi-line edit that does not scroll sideways wraps its lines: the release notes. The
// recipient edits carry the multi-line style with horizontal scrolling and stay single-line.
bool IsTextArea(const ControlTemplate& tpl) {
    return (tpl.style & kStyleMultiLine) != 0 && (tpl.style & kStyleAutoHScroll) == 0;
}

QString WithoutCarriageReturns(QString text) {
    return text.replace(QStringLiteral("\r\n"), "\n");
}

}  // namespace

// --- Building the window ---------------------------------------------------------------------

void DialogWindow::BuildControls() {
    const auto& templates = dlg_.dialogTemplate().controls;
    controls_.reserve(templates.size());
    // Every control is a direct child of the dialog, created in template order, which is also
    // Qt's focus chain order.
    for (std::size_t i = 0; i < templates.size(); ++i) {
        QWidget* w = CreateControl(static_cast<int>(i), templates[i]);
        w->installEventFilter(this);
        controls_.push_back(w);
    }
    // Frames are drawn beneath what they frame, though most come after it in the template.
    for (std::size_t i = 0; i < templates.size(); ++i) {
        if (templates[i].kind == ControlKind::GroupBox) controls_[i]->lower();
    }
}

QWidget* DialogWindow::CreateControl(int index, const ControlTemplate& tpl) {
    QRect rect = ToPixels(tpl.rect, metrics_);
    QWidget* w = nullptr;
    switch (tpl.kind) {
        case ControlKind::PushButton: {
            auto* button = new QPushButton(this);
            button->setAutoDefault(false);
            button->setDefault((tpl.style & kStyleDefault) != 0);
            connect(button, &QPushButton::clicked, this, [this, index] { OnClicked(index); });
            w = button;
            break;
        }
        case ControlKind::CheckBox: {
            auto* box = new FrameworkCheckedButton<QCheckBox>(this);
            connect(box, &QCheckBox::clicked, this, [this, index] { OnClicked(index); });
            w = box;
            break;
        }
        case ControlKind::RadioButton: {
            auto* radio = new FrameworkCheckedButton<QRadioButton>(this);
            radio->setAutoExclusive(false);  // the framework applies the group on user clicks
            connect(radio, &QRadioButton::clicked, this, [this, index] { OnClicked(index); });
            w = radio;
            break;
        }
        case ControlKind::GroupBox: {
            auto* box = new QGroupBox(this);
            box->setAttribute(Qt::WA_TransparentForMouseEvents);
            w = box;
            break;
        }
        case ControlKind::Label: {
            auto* label = new QLabel(this);
            label->setTextFormat(Qt::PlainText);
            if ((tpl.style & kStyleCenterV) != 0) {
                label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
            } else {
                label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
                label->setWordWrap(true);
            }
            w = label;
            break;
        }
        case ControlKind::Icon: {
            auto* icon = new QLabel(this);
            icon->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            const int side = style()->pixelMetric(QStyle::PM_LargeIconSize);
            icon->setPixmap(ApplicationIcon().pixmap(side, side));
            w = icon;
            break;
        }
        case ControlKind::Edit: {
            if (IsTextArea(tpl)) {
                auto* area = new QPlainTextEdit(this);
                area->setReadOnly((tpl.style & kStyleReadOnly) != 0);
                area->setTabChangesFocus(true);
                area->setVerticalScrollBarPolicy((tpl.style & kStyleVScroll) != 0
                                                     ? Qt::ScrollBarAsNeeded
                                                     : Qt::ScrollBarAlwaysOff);
                area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
                if ((tpl.style & kStyleBorder) == 0) area->setFrameShape(QFrame::NoFrame);
                if (!area->isReadOnly()) {
                    connect(area, &QPlainTextEdit::textChanged, this, [this, index, area] {
                        if (syncing_ == 0)
                            OnEdited(index, area->toPlainText(), area->textCursor().position());
                    });
                }
                w = area;
                break;
            }
            auto* edit = new QLineEdit(this);
            edit->setFrame((tpl.style & kStyleBorder) != 0);
            edit->setReadOnly((tpl.style & kStyleReadOnly) != 0);
            if ((tpl.style & kStylePassword) != 0) edit->setEchoMode(QLineEdit::Password);
            if (tpl.edit.digitsOnly) edit->setInputMethodHints(Qt::ImhDigitsOnly);
            ConnectEdit(index, edit);
            w = edit;
            break;
        }
        case ControlKind::ComboDropDown:
        case ControlKind::ComboDropList: {
            auto* combo = new Combo(this);
            if (tpl.kind == ControlKind::ComboDropDown) {
                auto* edit = new QLineEdit(combo);
                // Qt picks the entry that matches typed text when the edit loses the focus or
                // gets Enter, and reports it as activated: that is no pick from the list. This
                // connection runs before the combo's own, the one below after it.
                connect(edit, &QLineEdit::editingFinished, this,
                        [this] { suppressActivated_ = true; });
                combo->setLineEdit(edit);
                connect(edit, &QLineEdit::editingFinished, this, [this, index] {
                    suppressActivated_ = false;
                    if (ended_) return;
                    ++syncing_;
                    RenderSelection(index);
                    RenderText(index);
                    --syncing_;
                });
                combo->setCompleter(nullptr);
                ConnectEdit(index, edit);
                edit->installEventFilter(this);  // its context menu
            }
            combo->setInsertPolicy(QComboBox::NoInsert);
            ConnectCombo(index, combo);
            // The template's height includes the dropped-down list; the closed box is one line.
            rect.setHeight(combo->sizeHint().height());
            w = combo;
            break;
        }
    }

    w->setGeometry(rect);
    if (!TakesFocus(tpl.kind)) {
        w->setFocusPolicy(Qt::NoFocus);
    } else {
        w->setFocusPolicy((tpl.style & kStyleTabStop) != 0 ? Qt::StrongFocus : Qt::ClickFocus);
    }
    return w;
}

void DialogWindow::ConnectCombo(int index, QComboBox* combo) {
    connect(combo, &QComboBox::activated, this,
            [this, index](int item) { OnActivated(index, item); });
}

// --- Rendering the framework's state ---------------------------------------------------------

void DialogWindow::ControlChanged(int index, std::uint32_t flags) {
    if (control(index) == nullptr) return;
    ++syncing_;
    RenderChanges(index, flags);
    --syncing_;
}

void DialogWindow::RenderFont(int index) {
    const ControlState& s = dlg_.controls()[static_cast<std::size_t>(index)];
    control(index)->setFont(s.font ? FontForCellHeight(*s.font, DeviceRatio(), dpi_)
                                   : metrics_.font);
}

void DialogWindow::RenderEnabled(int index) {
    control(index)->setEnabled(dlg_.controls()[static_cast<std::size_t>(index)].enabled);
}

void DialogWindow::RenderVisible(int index) {
    control(index)->setVisible(dlg_.controls()[static_cast<std::size_t>(index)].visible);
}

void DialogWindow::RenderText(int index) {
    QWidget* w = control(index);
    const ControlState& s = dlg_.controls()[static_cast<std::size_t>(index)];
    const QString text = QString::fromStdString(dlg_.DisplayText(index));
    switch (s.kind) {
        case ControlKind::PushButton:
        case ControlKind::CheckBox:
        case ControlKind::RadioButton: {
            auto* button = static_cast<QAbstractButton*>(w);
            if (button->text() != text) button->setText(text);
            break;
        }
        case ControlKind::GroupBox: {
            auto* box = static_cast<QGroupBox*>(w);
            if (box->title() != text) box->setTitle(text);
            break;
        }
        case ControlKind::Label: {
            auto* label = static_cast<QLabel*>(w);
            // With a buddy, Qt reads '&' as a mnemonic; without one it shows it as it is.
            QString shown = text;
            if ((s.style & kStyleNoPrefix) != 0) {
                if (label->buddy() != nullptr) shown.replace('&', QStringLiteral("&&"));
            } else if (label->buddy() == nullptr) {
                shown = QString::fromStdString(StripMnemonic(text.toStdString()));
            }
            if (label->text() == shown) break;
            label->setText(shown);
            if (QWidget* named = label->buddy()) {
                QAccessibleEvent renamed(named, QAccessible::NameChanged);
                QAccessible::updateAccessibility(&renamed);
            }
            break;
        }
        case ControlKind::Icon:
            break;
        case ControlKind::Edit: {
            if (auto* area = qobject_cast<QPlainTextEdit*>(w)) {
                const QString shown = WithoutCarriageReturns(text);
                if (area->toPlainText() != shown) area->setPlainText(shown);
                break;
            }
            auto* edit = static_cast<QLineEdit*>(w);
            // setText resets caret, selection and undo: only where the text differs.
            if (edit->text() != text) edit->setText(text);
            break;
        }
        case ControlKind::ComboDropDown: {
            QLineEdit* edit = static_cast<QComboBox*>(w)->lineEdit();
            if (edit != nullptr && edit->text() != text) edit->setText(text);
            break;
        }
        case ControlKind::ComboDropList:
            break;  // shows its selection
    }
}

QLineEdit* DialogWindow::LineEditOf(int index) const {
    QWidget* w = control(index);
    if (auto* combo = qobject_cast<QComboBox*>(w)) return combo->lineEdit();
    return qobject_cast<QLineEdit*>(w);
}

void DialogWindow::RenderEditSelection(int index) {
    QWidget* w = control(index);
    const ControlState& s = dlg_.controls()[static_cast<std::size_t>(index)];
    QLineEdit* edit = LineEditOf(index);
    if (edit == nullptr) return;
    const int length = static_cast<int>(edit->text().size());
    int anchor = std::clamp(s.anchor, 0, length);
    const int caret = std::clamp(s.caret, 0, length);
    // As on the desktop, an edit without the focus hides its selection (a picked combo entry is
    // selected whole, which would otherwise light up every list).
    if (!w->hasFocus()) anchor = caret;
    if (AnchorAndCaret(edit) == std::pair{anchor, caret}) return;
    if (anchor == caret) {
        edit->setCursorPosition(caret);
    } else {
        edit->setSelection(anchor, caret - anchor);  // the caret ends at `caret`
    }
}

void DialogWindow::RenderItems(int index) {
    auto* combo = qobject_cast<QComboBox*>(control(index));
    if (combo == nullptr) return;
    const ControlState& s = dlg_.controls()[static_cast<std::size_t>(index)];
    QStringList items;
    for (const std::string& item : s.items) items << FromCp1252(item);
    QStringList shown;
    for (int i = 0; i < combo->count(); ++i) shown << combo->itemText(i);
    if (shown == items) return;
    const QSignalBlocker block(combo);
    combo->clear();
    combo->addItems(items);  // Qt selects the first entry of an empty list by itself
    combo->setCurrentIndex(s.selection);
}

void DialogWindow::RenderSelection(int index) {
    auto* combo = qobject_cast<QComboBox*>(control(index));
    if (combo == nullptr) return;
    const ControlState& s = dlg_.controls()[static_cast<std::size_t>(index)];
    const int selection = s.selection < combo->count() ? s.selection : -1;
    if (combo->currentIndex() == selection) return;
    const QSignalBlocker block(combo);
    combo->setCurrentIndex(selection);
}

void DialogWindow::RenderCheck(int index) {
    auto* button = qobject_cast<QAbstractButton*>(control(index));
    if (button == nullptr) return;
    const bool checked = dlg_.controls()[static_cast<std::size_t>(index)].checked;
    if (!button->isCheckable() || button->isChecked() == checked) return;
    const QSignalBlocker block(button);
    button->setChecked(checked);
}

// --- The user's clicks and picks -------------------------------------------------------------

void DialogWindow::OnClicked(int index) {
    if (syncing_ > 0 || ended_) return;
    dlg_.UserClick(dlg_.controls()[static_cast<std::size_t>(index)].id);
    if (ended_) return;
    ++syncing_;
    RenderCheck(index);
    --syncing_;
}

void DialogWindow::OnActivated(int index, int item) {
    if (syncing_ > 0 || ended_) return;
    if (!suppressActivated_)
        dlg_.UserPick(dlg_.controls()[static_cast<std::size_t>(index)].id, item);
    if (ended_) return;
    ++syncing_;
    RenderSelection(index);
    RenderText(index);
    --syncing_;
}

}  // namespace ostrova::platform::qt
