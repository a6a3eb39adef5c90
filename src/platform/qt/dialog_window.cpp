#include "platform/qt/dialog_window.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTextCursor>
#include <QTimer>
#include <QWheelEvent>
#include <QWindow>
#include <algorithm>
#include <limits>
#include <memory>

#include "platform/accessible_names.h"
#include "platform/cp1252.h"
#include "platform/dialog_manager.h"
#include "platform/qt/backend.h"

namespace ostrova::platform::qt {
namespace {

// Check boxes and radio buttons whose check only the framework changes: a click reports the
// click and nothing else, and the framework's state is rendered back.
template <class Button>
class FrameworkCheckedButton : public Button {
public:
    using Button::Button;

protected:
    void nextCheckState() override {}
    // The whole rectangle takes the click, as a Windows button's does, not only the text.
    bool hitButton(const QPoint& pos) const override { return this->rect().contains(pos); }
};

// With autoExclusive off, Qt announces a radio button as a check box: the framework's radio
// buttons get their role back, with their check and a press that clicks as the user does.
class RadioAccessible : public QAccessibleWidget {
public:
    explicit RadioAccessible(QAbstractButton* radio)
        : QAccessibleWidget(radio, QAccessible::RadioButton) {}

    QString text(QAccessible::Text t) const override {
        QString text = QAccessibleWidget::text(t);
        if (t == QAccessible::Name && text.isEmpty())
            text = QString::fromStdString(StripMnemonic(button()->text().toStdString()));
        return text;
    }
    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.checkable = true;
        state.checked = button()->isChecked();
        return state;
    }
    QStringList actionNames() const override {
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override {
        if (action == pressAction())
            button()->click();  // does nothing while disabled
        else
            QAccessibleWidget::doAction(action);
    }

private:
    QAbstractButton* button() const { return static_cast<QAbstractButton*>(widget()); }
};

QAccessibleInterface* FrameworkAccessible(const QString& className, QObject* object) {
    if (className != QLatin1String("QRadioButton")) return nullptr;
    auto* radio = dynamic_cast<FrameworkCheckedButton<QRadioButton>*>(object);
    return radio != nullptr ? new RadioAccessible(radio) : nullptr;
}

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

QString FromCp1252(std::string_view bytes) {
    return QString::fromStdString(Cp1252ToUtf8(bytes));
}

// A multi-line edit that does not scroll sideways wraps its lines: the release notes. The
// recipient edits carry the multi-line style with horizontal scrolling and stay single-line.
bool IsTextArea(const ControlTemplate& tpl) {
    return (tpl.style & kStyleMultiLine) != 0 && (tpl.style & kStyleAutoHScroll) == 0;
}

QString WithoutCarriageReturns(QString text) {
    return text.replace(QStringLiteral("\r\n"), "\n");
}

std::optional<ScrollRequest> RequestOf(int action) {
    switch (action) {
        case QAbstractSlider::SliderSingleStepSub:
            return ScrollRequest::LineUp;
        case QAbstractSlider::SliderSingleStepAdd:
            return ScrollRequest::LineDown;
        case QAbstractSlider::SliderPageStepSub:
            return ScrollRequest::PageUp;
        case QAbstractSlider::SliderPageStepAdd:
            return ScrollRequest::PageDown;
        case QAbstractSlider::SliderMove:
            return ScrollRequest::ThumbTrack;
        case QAbstractSlider::SliderToMinimum:
            return ScrollRequest::Top;
        case QAbstractSlider::SliderToMaximum:
            return ScrollRequest::Bottom;
        default:
            return std::nullopt;
    }
}

}  // namespace

void InstallAccessibility() {
    QAccessible::installFactory(FrameworkAccessible);
}

DialogWindow::DialogWindow(CDialog& dlg, QWidget* owner, double dpi)
    : QDialog(owner), dlg_(dlg), metrics_(MetricsFor(dlg.dialogTemplate(), dpi)), dpi_(dpi) {
    const DialogTemplate& tpl = dlg.dialogTemplate();
    // The application's window is a normal top-level window, shown in the task bar; every
    // other template is a modal dialog over its owner.
    setWindowFlags((tpl.appWindow ? Qt::Window : Qt::Dialog) | Qt::CustomizeWindowHint |
                   Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setWindowTitle(FromCp1252(tpl.title));
    setWindowIcon(ApplicationIcon());
    setFont(metrics_.font);
    setModal(!tpl.appWindow);
    setFixedSize(ClientSize(tpl, metrics_));

    BuildControls();
    LinkLabels();

    scrollBar_ = new QScrollBar(Qt::Vertical, this);
    scrollBar_->setFocusPolicy(Qt::NoFocus);
    scrollBar_->setSingleStep(10);
    scrollBar_->hide();
    scrollBar_->installEventFilter(this);
    connect(scrollBar_, &QAbstractSlider::actionTriggered, this,
            [this](int action) { OnScrollAction(action); });
}

DialogWindow::~DialogWindow() {
    // The widgets go now, while this object is whole: what they signal on their way out finds
    // the dialog ended and reports nothing.
    ended_ = true;
    for (QWidget* w : controls_) w->removeEventFilter(this);
    qDeleteAll(findChildren<QWidget*>(Qt::FindDirectChildrenOnly));
    controls_.clear();
    scrollBar_ = nullptr;
    systemMenu_ = nullptr;
}

QWidget* DialogWindow::control(int index) const {
    if (index < 0 || index >= static_cast<int>(controls_.size())) return nullptr;
    return controls_[static_cast<std::size_t>(index)];
}

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
            if ((tpl.style & kStyleDigits) != 0) edit->setInputMethodHints(Qt::ImhDigitsOnly);
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

void DialogWindow::ConnectEdit(int index, QLineEdit* edit) {
    // Only the user's own changes: typing, deletion, paste, drop and undo all come here.
    connect(edit, &QLineEdit::textEdited, this, [this, index, edit](const QString& text) {
        OnEdited(index, text, edit->cursorPosition());
    });
    connect(edit, &QLineEdit::cursorPositionChanged, this, [this, index] { OnEditCaret(index); });
    connect(edit, &QLineEdit::selectionChanged, this, [this, index] { OnEditCaret(index); });
}

void DialogWindow::ConnectCombo(int index, QComboBox* combo) {
    connect(combo, &QComboBox::activated, this,
            [this, index](int item) { OnActivated(index, item); });
}

void DialogWindow::LinkLabels() {
    for (const AccessibleLink& link : AccessibleLinks(dlg_.dialogTemplate())) {
        QWidget* target = control(link.control);
        // Qt names a control after its buddy label's current text, so a label that changes
        // keeps naming it.
        if (link.label >= 0) static_cast<QLabel*>(control(link.label))->setBuddy(target);
        if (!link.name.empty()) target->setAccessibleName(QString::fromStdString(link.name));
        if (!link.description.empty())
            target->setAccessibleDescription(QString::fromStdString(link.description));
    }
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

namespace {

// A line edit's selection as anchor and caret.
std::pair<int, int> AnchorAndCaret(const QLineEdit* edit) {
    const int caret = edit->cursorPosition();
    if (!edit->hasSelectedText()) return {caret, caret};
    return {caret == edit->selectionStart() ? edit->selectionEnd() : edit->selectionStart(), caret};
}

}  // namespace

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

// --- User input ------------------------------------------------------------------------------

void DialogWindow::OnEdited(int index, const QString& text, int caret) {
    const std::optional<EditKind> kind = pendingKind_;
    pendingKind_.reset();
    if (syncing_ > 0 || ended_) return;
    const int id = dlg_.controls()[static_cast<std::size_t>(index)].id;
    // Qt counts UTF-16 units, the framework characters.
    const int characters = static_cast<int>(text.left(caret).toUcs4().size());
    // A refused change comes back through ControlChanged with the old text and caret.
    dlg_.UserEdit(id, text.toStdString(), characters, kind);
    if (ended_) return;
    ++syncing_;
    RenderText(index);
    RenderEditSelection(index);
    --syncing_;
    if (QLineEdit* edit = LineEditOf(index))
        Q_ASSERT(edit->text() == QString::fromStdString(dlg_.DisplayText(index)));
}

void DialogWindow::OnEditCaret(int index) {
    if (syncing_ > 0 || ended_) return;
    QLineEdit* edit = LineEditOf(index);
    if (edit == nullptr) return;
    // Caret moves inside a change in progress belong to that change; an edit without the focus
    // shows no selection, but keeps the framework's.
    if (edit->text() != QString::fromStdString(dlg_.DisplayText(index))) return;
    if (!control(index)->hasFocus()) return;
    const auto [anchor, caret] = AnchorAndCaret(edit);
    dlg_.UserSetEditSelection(dlg_.controls()[static_cast<std::size_t>(index)].id, anchor, caret);
}

void DialogWindow::OnUndo(int index, bool redo) {
    if (ended_) return;
    const int id = dlg_.controls()[static_cast<std::size_t>(index)].id;
    if (redo) {
        dlg_.UserRedo(id);
    } else {
        dlg_.UserUndo(id);
    }
}

namespace {

// What a key does to a line edit, for the undo history's steps.
std::optional<EditKind> KindOfKey(const QKeyEvent& key) {
    if (key.matches(QKeySequence::Paste)) return EditKind::Paste;
    if (key.matches(QKeySequence::Cut)) return EditKind::Delete;
    if (key.matches(QKeySequence::DeleteStartOfWord) ||
        key.matches(QKeySequence::DeleteEndOfWord) || key.matches(QKeySequence::DeleteEndOfLine) ||
        key.matches(QKeySequence::DeleteCompleteLine))
        return EditKind::RemoveRange;
    if (key.key() == Qt::Key_Backspace) return EditKind::Backspace;
    if (key.key() == Qt::Key_Delete) return EditKind::Delete;
    if (!key.text().isEmpty()) return EditKind::Typing;
    return std::nullopt;
}

}  // namespace

bool DialogWindow::EditEvent(int index, QLineEdit* edit, QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress: {
            const auto& key = *static_cast<QKeyEvent*>(event);
            // The framework keeps the history, so that refused input leaves no step in it.
            if (key.matches(QKeySequence::Undo) || key.matches(QKeySequence::Redo)) {
                if (!edit->isReadOnly()) OnUndo(index, key.matches(QKeySequence::Redo));
                return true;
            }
            pendingKind_ = KindOfKey(key);
            return false;
        }
        case QEvent::ContextMenu:
            pendingKind_.reset();
            EditMenu(index, edit, *static_cast<QContextMenuEvent*>(event));
            return true;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::Drop:
        case QEvent::InputMethod:
            pendingKind_.reset();
            return false;
        default:
            return false;
    }
}

void DialogWindow::EditMenu(int index, QLineEdit* edit, const QContextMenuEvent& event) {
    // The toolkit's own menu, with Undo and Redo stepping through the framework's history.
    std::unique_ptr<QMenu> menu(edit->createStandardContextMenu());
    const int id = dlg_.controls()[static_cast<std::size_t>(index)].id;
    for (QAction* action : menu->actions()) {
        const QString name = action->objectName();
        if (name == QLatin1String("edit-undo") || name == QLatin1String("edit-redo")) {
            const bool redo = name == QLatin1String("edit-redo");
            QObject::disconnect(action, &QAction::triggered, edit, nullptr);
            action->setEnabled(redo ? dlg_.CanRedo(id) : dlg_.CanUndo(id));
            connect(action, &QAction::triggered, this,
                    [this, index, redo] { OnUndo(index, redo); });
        } else if (name == QLatin1String("edit-paste")) {
            QObject::disconnect(action, &QAction::triggered, edit, nullptr);
            connect(action, &QAction::triggered, this, [this, edit] {
                pendingKind_ = EditKind::Paste;
                edit->paste();
            });
        }
    }
    menu->exec(event.globalPos());
}

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

void DialogWindow::OnScrollAction(int action) {
    if (ended_) return;
    const auto request = RequestOf(action);
    if (!request) return;
    dlg_.UserVScroll(*request, scrollBar_->sliderPosition());
    // The framework owns the position: Qt's own step is replaced by what it stored.
    scrollBar_->setSliderPosition(scroll_.pos);
}

void DialogWindow::ScrollBarMenu(const QContextMenuEvent& event) {
    // Qt's own menu would set the thumb behind the framework's back: the same entries, each
    // made a request to the framework.
    auto tr = [](const char* text) { return QCoreApplication::translate("QScrollBar", text); };
    QMenu menu(this);
    QAction* here = menu.addAction(tr("Scroll here"));
    menu.addSeparator();
    const std::pair<const char*, QAbstractSlider::SliderAction> steps[] = {
        {"Top", QAbstractSlider::SliderToMinimum},
        {"Bottom", QAbstractSlider::SliderToMaximum},
        {nullptr, QAbstractSlider::SliderNoAction},
        {"Page up", QAbstractSlider::SliderPageStepSub},
        {"Page down", QAbstractSlider::SliderPageStepAdd},
        {nullptr, QAbstractSlider::SliderNoAction},
        {"Scroll up", QAbstractSlider::SliderSingleStepSub},
        {"Scroll down", QAbstractSlider::SliderSingleStepAdd},
    };
    for (const auto& [text, action] : steps) {
        if (text == nullptr)
            menu.addSeparator();
        else
            menu.addAction(tr(text))->setData(static_cast<int>(action));
    }
    const QAction* picked = menu.exec(event.globalPos());
    if (picked == nullptr || ended_ || scrollBar_ == nullptr) return;
    if (picked != here) {
        scrollBar_->triggerAction(
            static_cast<QAbstractSlider::SliderAction>(picked->data().toInt()));
        return;
    }
    // Scroll here drags the thumb to the point: track, then let go.
    QStyleOptionSlider option;
    option.initFrom(scrollBar_);
    option.orientation = Qt::Vertical;
    option.minimum = scrollBar_->minimum();
    option.maximum = scrollBar_->maximum();
    option.sliderPosition = scrollBar_->sliderPosition();
    option.sliderValue = scrollBar_->value();
    option.pageStep = scrollBar_->pageStep();
    option.singleStep = scrollBar_->singleStep();
    option.subControls = QStyle::SC_All;
    const QStyle* st = scrollBar_->style();
    const QRect groove =
        st->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarGroove, scrollBar_);
    const QRect thumb =
        st->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, scrollBar_);
    const int value = QStyle::sliderValueFromPosition(
        option.minimum, option.maximum, event.pos().y() - thumb.height() / 2 - groove.top(),
        std::max(1, groove.height() - thumb.height()));
    dlg_.UserVScroll(ScrollRequest::ThumbTrack, value);
    if (!ended_) dlg_.UserVScroll(ScrollRequest::ThumbPosition, value);
    if (!ended_) dlg_.UserVScroll(ScrollRequest::EndScroll, 0);
}

// --- Focus -----------------------------------------------------------------------------------

int DialogWindow::IndexOf(const QObject* widget) const {
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        if (controls_[i] == widget) return static_cast<int>(i);
    }
    return -1;
}

int DialogWindow::FocusedIndex() const {
    for (const QWidget* w = QApplication::focusWidget(); w != nullptr && w != this;
         w = w->parentWidget()) {
        const int index = IndexOf(w);
        if (index >= 0) return index;
    }
    return -1;
}

void DialogWindow::FocusByUser(int index, Qt::FocusReason reason) {
    QWidget* w = control(index);
    if (w == nullptr) return;
    w->setFocus(reason);
    // A window that is not active gets the focus event later, as an activation: say it now.
    const QWidget* focused = QApplication::focusWidget();
    if (focused != w && (focused == nullptr || !w->isAncestorOf(focused)))
        dlg_.UserFocus(dlg_.controls()[static_cast<std::size_t>(index)].id);
}

bool DialogWindow::focusNextPrevChild(bool next) {
    // Qt moves the focus away from a control being disabled; the dialog manager does not.
    if (syncing_ > 0 || focusing_ > 0) return false;
    return dlg_.UserKey(next ? DialogKey::Tab : DialogKey::BackTab, FocusedIndex(), false);
}

void DialogWindow::MoveFocus(int index, FocusMove how) {
    if (how != FocusMove::Start) {
        FocusByUser(index, how == FocusMove::Forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
        return;
    }
    ++focusing_;  // the framework reports the first focus itself
    control(index)->setFocus(Qt::TabFocusReason);
    --focusing_;
}

void DialogWindow::FocusControl(int index) {
    ++focusing_;
    if (QWidget* w = control(index)) {
        w->setFocus(Qt::OtherFocusReason);
        ++syncing_;
        RenderEditSelection(index);
        --syncing_;
    } else {
        setFocus(Qt::OtherFocusReason);
    }
    --focusing_;
}

// --- Events ----------------------------------------------------------------------------------

bool DialogWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == scrollBar_) {
        if (event->type() == QEvent::Wheel) {
            // The scroll bar is the window's own: its wheel is the window's wheel.
            wheelEvent(static_cast<QWheelEvent*>(event));
            return true;
        }
        if (event->type() == QEvent::ContextMenu) {
            ScrollBarMenu(*static_cast<QContextMenuEvent*>(event));
            return true;
        }
        if (event->type() == QEvent::MouseButtonRelease && !ended_) {
            if (scrollBar_->isSliderDown())
                dlg_.UserVScroll(ScrollRequest::ThumbPosition, scrollBar_->sliderPosition());
            if (!ended_) dlg_.UserVScroll(ScrollRequest::EndScroll, 0);
        }
        return QDialog::eventFilter(watched, event);
    }

    int index = IndexOf(watched);
    if (index < 0 && !ended_) {
        // A drop-down combo's edit field.
        if (auto* field = qobject_cast<QLineEdit*>(watched)) index = IndexOf(field->parent());
        if (index >= 0)
            return EditEvent(index, static_cast<QLineEdit*>(watched), event) ||
                   QDialog::eventFilter(watched, event);
    }
    if (index < 0 || ended_) return QDialog::eventFilter(watched, event);
    const ControlState& s = dlg_.controls()[static_cast<std::size_t>(index)];
    if (QLineEdit* edit = LineEditOf(index); edit != nullptr && !edit->isReadOnly()) {
        // The combo hands its keys to its field; its field's own events come above.
        const bool field = watched == edit || event->type() == QEvent::KeyPress;
        if (field && EditEvent(index, edit, event)) return true;
    }

    if (event->type() == QEvent::FocusIn) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        // Window activation and a closing drop-down list give the focus back: no change.
        const bool moved = reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
        if (moved && syncing_ == 0 && focusing_ == 0) dlg_.UserFocus(s.id);
        // An edit without the focus shows no selection: what the framework selected meanwhile
        // (the refused number behind a message box) shows when the focus comes back.
        if (syncing_ == 0 && !ended_) {
            ++syncing_;
            RenderEditSelection(index);
            --syncing_;
        }
    } else if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool forward = key->key() == Qt::Key_Down || key->key() == Qt::Key_Right;
        const bool back = key->key() == Qt::Key_Up || key->key() == Qt::Key_Left;
        if ((forward || back) && (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier &&
            dlg_.UserKey(forward ? DialogKey::Next : DialogKey::Previous, index, false))
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

void DialogWindow::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    const auto modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) &&
        (modifiers == Qt::NoModifier || modifiers == Qt::ShiftModifier)) {
        // An open list has its own window: Enter and Escape reach it, never this one.
        dlg_.UserKey(DialogKey::Enter, FocusedIndex(), false);
        return;
    }
    if (key == Qt::Key_Escape && modifiers == Qt::NoModifier) {
        dlg_.UserKey(DialogKey::Escape, FocusedIndex(), false);
        return;
    }
    if (key == Qt::Key_F1) return;  // the program has no help
    QWidget::keyPressEvent(event);
}

void DialogWindow::reject() {
    if (!ended_) dlg_.UserCancel();
}

void DialogWindow::done(int result) {
    // Only the framework ends the dialog (EndModal); Qt's own attempts are turned away.
    if (ended_) QDialog::done(result);
}

void DialogWindow::EndModal(int result) {
    ended_ = true;
    QDialog::done(result);
}

void DialogWindow::closeEvent(QCloseEvent* event) {
    if (ended_) {
        event->accept();
        return;
    }
    // The close box is Cancel; the window goes only if the framework ends the dialog.
    event->ignore();
    dlg_.UserCancel();
}

void DialogWindow::wheelEvent(QWheelEvent* event) {
    const QPoint delta = event->angleDelta();
    if (ended_ || (delta.y() == 0 && delta.x() != 0)) {  // a horizontal tilt is not ours
        event->ignore();
        return;
    }
    // Taking a touchpad's begin and end keeps its stream of turns on this window, but they
    // turn nothing.
    event->accept();
    const bool phaseEdge = event->phase() == Qt::ScrollBegin || event->phase() == Qt::ScrollEnd;
    if (delta.y() == 0 && phaseEdge) return;
    constexpr int kMin = std::numeric_limits<std::int16_t>::min();
    constexpr int kMax = std::numeric_limits<std::int16_t>::max();
    dlg_.UserMouseWheel(std::clamp(delta.y(), kMin, kMax));
}

void DialogWindow::contextMenuEvent(QContextMenuEvent* event) {
    if (systemMenu_ == nullptr || systemMenu_->isEmpty()) {
        event->ignore();
        return;
    }
    event->accept();
    systemMenu_->exec(event->globalPos());
}

bool DialogWindow::event(QEvent* event) {
    const bool result = QDialog::event(event);
    switch (event->type()) {
        case QEvent::Show:
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::WinIdChange:
            // The window manager tells the frame's size only once the window is up.
            if (hasOuter_ && windowHandle() != nullptr &&
                windowHandle()->frameMargins() != appliedMargins_) {
                ApplyOuterGeometry();
            }
            if (event->type() != QEvent::Move) LayoutScrollBar();
            break;
        default:
            break;
    }
    return result;
}

// --- Frame -----------------------------------------------------------------------------------

double DialogWindow::DeviceRatio() const {
    const QScreen* s = screen();
    return s != nullptr ? s->devicePixelRatio() : 1.0;
}

void DialogWindow::MoveWindow(int x, int y, int width, int height) {
    // Device pixels, as the frame code computes them, to Qt's logical pixels.
    const double ratio = DeviceRatio();
    auto logical = [ratio](int v) { return static_cast<int>(std::lround(v / ratio)); };
    outer_ = QRect(logical(x), logical(y), logical(width), logical(height));
    hasOuter_ = true;
    ApplyOuterGeometry();
}

DialogView::FormWidths DialogWindow::FormOuterWidths(bool scrollBar) const {
    int left = std::numeric_limits<int>::max(), right = 0;
    for (const ControlTemplate& c : dlg_.dialogTemplate().controls) {
        const QRect r = ToPixels(c.rect, metrics_);  // where the control stands unscrolled
        left = std::min(left, r.left());
        right = std::max(right, r.left() + r.width());
    }
    if (right == 0) return {};
    const QMargins frame = windowHandle() != nullptr ? windowHandle()->frameMargins() : QMargins();
    const int bar =
        scrollBar ? style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, scrollBar_) : 0;
    // Logical pixels to the device pixels the frame code counts in, rounded up to show all.
    const double ratio = DeviceRatio();
    const auto device = [ratio](int v) { return static_cast<int>(std::ceil(v * ratio - 1e-9)); };
    const int edge = right + frame.left() + frame.right() + bar;
    return {device(edge), device(edge + std::max(left, 0))};
}

void DialogWindow::ApplyOuterGeometry() {
    appliedMargins_ = windowHandle() != nullptr ? windowHandle()->frameMargins() : QMargins();
    const QSize client(
        std::max(1, outer_.width() - appliedMargins_.left() - appliedMargins_.right()),
        std::max(1, outer_.height() - appliedMargins_.top() - appliedMargins_.bottom()));
    setFixedSize(client);
    move(outer_.topLeft());  // a window's position is that of its frame
    LayoutScrollBar();
}

void DialogWindow::LayoutScrollBar() {
    if (scrollBar_ == nullptr) return;
    const int extent = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, scrollBar_);
    scrollBar_->setGeometry(width() - extent, 0, extent, height());
    scrollBar_->setVisible(scrollVisible_);
    scrollBar_->raise();
}

void DialogWindow::SetScrollInfo(const ScrollInfo& info, bool redraw) {
    scroll_ = info;
    // Windows' thumb spans `page` of (max - min + 1) positions and stops at max - page + 1;
    // Qt's thumb spans pageStep of (maximum - minimum + pageStep).
    const int top = info.page > 0 ? info.max - info.page + 1 : info.max;
    const QSignalBlocker block(scrollBar_);
    scrollBar_->setRange(info.min, std::max(info.min, top));
    scrollBar_->setPageStep(std::max(info.page, 1));
    scrollBar_->setValue(info.pos);
    scrollVisible_ = info.max > info.min && (info.page == 0 || info.max - info.min + 1 > info.page);
    LayoutScrollBar();
    if (redraw) scrollBar_->update();
}

void DialogWindow::ScrollContent(int dy) {
    // The frame moves the content in device pixels. The widgets stand at the whole offset
    // converted once, so that many small steps add up to exactly what one large step does.
    contentOffset_ += dy;
    const int offset = static_cast<int>(std::lround(contentOffset_ / DeviceRatio()));
    const int move = offset - shownOffset_;
    shownOffset_ = offset;
    if (move == 0) return;
    for (QWidget* w : controls_) w->move(w->x(), w->y() + move);
}

void DialogWindow::StartTimer(int timerId, int periodMs) {
    QTimer*& timer = timers_[timerId];
    if (timer == nullptr) {
        timer = new QTimer(this);
        connect(timer, &QTimer::timeout, this, [this, timerId] {
            if (!ended_) dlg_.UserTimer(timerId);
        });
    }
    timer->start(std::max(periodMs, 0));
}

void DialogWindow::AppendSystemMenuCommand(int commandId, std::string_view text) {
    // The window manager owns the title bar's menu: the entry goes into the window's own
    // context menu (right click on the background, Shift+F10, the Menu key).
    if (systemMenu_ == nullptr) systemMenu_ = new QMenu(this);
    systemMenu_->addSeparator();
    QAction* action = systemMenu_->addAction(FromCp1252(text));
    connect(action, &QAction::triggered, this, [this, commandId] {
        if (!ended_) dlg_.UserSysCommand(commandId);
    });
}

}  // namespace ostrova::platform::qt
