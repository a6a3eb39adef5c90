#include "platform/qt/dialog_window.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QMenu>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QWheelEvent>
#include <QWindow>
#include <algorithm>
#include <cmath>
#include <limits>

namespace ostrova::platform::qt {
namespace {

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

// --- Placement -------------------------------------------------------------------------------

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

// --- The window's scroll bar -----------------------------------------------------------------

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

bool DialogWindow::ScrollBarEvent(QEvent* event) {
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
    return QDialog::eventFilter(scrollBar_, event);
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

// --- The wheel and the window menu -----------------------------------------------------------

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
