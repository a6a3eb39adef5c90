// The window around the controls: modal layer, frame, title bar with its menu and close box,
// placement, and the window's own vertical scroll bar.
#include <algorithm>
#include <limits>

#include "platform/web/backend.h"
#include "platform/web/dialog_window.h"

using emscripten::val;

namespace ostrova::platform::web {
namespace {

constexpr int kBorder = 3;      // the fixed frame of a dialog window
constexpr int kTitle = 22;      // the title bar
constexpr int kScrollBar = 17;  // the vertical scroll bar's width

val Element(const char* tag, const char* cls) {
    val e = val::global("document").call<val>("createElement", std::string(tag));
    e.set("className", std::string(cls));
    return e;
}

void Attr(val& e, const char* name, const std::string& value) {
    e.call<void>("setAttribute", std::string(name), value);
}

void Px(val& e, const char* property, int value) {
    e["style"].set(property, std::to_string(value) + "px");
}

}  // namespace

void WebDialog::BuildFrame() {
    const DialogTemplate& tpl = dlg_.dialogTemplate();
    const std::string s = std::to_string(serial_);
    layer_ = Element("div", tpl.appWindow ? "layer shown" : "layer modal shown");
    layer_["dataset"].set("view", serial_);
    window_ = Element("div", "window");
    Attr(window_, "role", "dialog");
    if (!tpl.appWindow) Attr(window_, "aria-modal", "true");
    Attr(window_, "aria-labelledby", "v" + s + "-title");
    window_.set("tabIndex", -1);

    val bar = Element("div", "titlebar");
    val menuButton = Element("button", "sysmenu-button");
    menuButton.set("type", std::string("button"));
    menuButton.set("tabIndex", -1);
    Attr(menuButton, "aria-haspopup", "menu");
    Attr(menuButton, "aria-expanded", "false");
    Attr(menuButton, "aria-label", "System menu");
    val caption = Element("span", "caption");
    caption.set("id", "v" + s + "-title");
    caption.set("textContent", ForPage(tpl.title));
    val close = Element("button", "close-box");
    close.set("type", std::string("button"));
    close.set("tabIndex", -1);
    Attr(close, "aria-label", "Close");
    bar.call<void>("append", menuButton, caption, close);
    menu_ = Element("div", "sysmenu");
    Attr(menu_, "role", "menu");
    menu_.set("hidden", true);

    client_ = Element("div", "client");
    content_ = Element("div", "content");
    scrollBar_ = Element("div", "vscroll");
    scrollBar_.set("hidden", true);
    val up = Element("div", "up");
    val track = Element("div", "track");
    val thumb = Element("div", "thumb");
    val down = Element("div", "down");
    track.call<void>("append", thumb);
    scrollBar_.call<void>("append", up, track, down);
    Attr(scrollBar_, "aria-hidden", "true");  // the page's own scrolling keys reach the form
    client_.call<void>("append", content_, scrollBar_);
    window_.call<void>("append", bar, menu_, client_);
    layer_.call<void>("append", window_);
    backend_.Desktop().call<void>("append", layer_);

    BuildControls();
    LinkNames();
    const val page = val::global("ostrovaPage");
    page.call<void>("wireWindow", window_, serial_);
    page.call<void>("wireTitleBar", window_, serial_);
    page.call<void>("wireScrollBar", scrollBar_, serial_);
    page.call<void>("wireWheel", client_, serial_);
    LayoutFrame();
}

void WebDialog::LayoutFrame() {
    const DialogTemplate& tpl = dlg_.dialogTemplate();
    int width = outerWidth_, height = outerHeight_;
    if (!hasPlacement_) {
        width = ToPixels({0, 0, tpl.width, 0}, metrics_).w + 2 * kBorder;
        height = ToPixels({0, 0, 0, tpl.height}, metrics_).h + 2 * kBorder + kTitle;
    }
    Px(window_, "width", width - 2 * kBorder);
    Px(window_, "height", height - 2 * kBorder);
    Px(client_, "width", width - 2 * kBorder);
    Px(client_, "height", height - 2 * kBorder - kTitle);
    if (hasPlacement_) return;
    // A secondary window stands centred over its owner.
    int x = 0, y = 0;
    if (owner_ != nullptr) {
        const val r = owner_->window_.call<val>("getBoundingClientRect");
        x = r["left"].as<int>() + (r["width"].as<int>() - width) / 2;
        y = r["top"].as<int>() + (r["height"].as<int>() - height) / 2;
    }
    Px(window_, "left", std::max(0, x));
    Px(window_, "top", std::max(0, y));
}

void WebDialog::MoveWindow(int x, int y, int width, int height) {
    hasPlacement_ = true;
    outerWidth_ = width;
    outerHeight_ = height;
    Px(window_, "left", x);
    Px(window_, "top", y);
    LayoutFrame();
}

DialogView::FormWidths WebDialog::FormOuterWidths(bool scrollBar) const {
    int left = std::numeric_limits<int>::max(), right = 0;
    for (const ControlTemplate& c : dlg_.dialogTemplate().controls) {
        const PixelRect r = ToPixels(c.rect, metrics_);
        left = std::min(left, r.x);
        right = std::max(right, r.x + r.w);
    }
    if (right == 0) return {};
    const int edge = right + 2 * kBorder + (scrollBar ? kScrollBar : 0);
    return {edge, edge + std::max(left, 0)};
}

void WebDialog::SetScrollInfo(const ScrollInfo& info, bool redraw) {
    (void)redraw;  // the page repaints by itself
    scroll_ = info;
    RenderScrollBar();
}

void WebDialog::RenderScrollBar() {
    const ScrollInfo& info = scroll_;
    const bool shown =
        info.max > info.min && (info.page == 0 || info.max - info.min + 1 > info.page);
    scrollBar_.set("hidden", !shown);
    client_["classList"].call<void>("toggle", std::string("scrolls"), shown);
    if (!shown) return;
    // Windows' thumb spans `page` of (max - min + 1) positions and stops at max - page + 1.
    const int top = info.page > 0 ? info.max - info.page + 1 : info.max;
    val data = scrollBar_["dataset"];
    data.set("min", info.min);
    data.set("top", std::max(info.min, top));
    data.set("pos", info.pos);
    const int height = outerHeight_ - 2 * kBorder - kTitle;
    const int trackHeight = std::max(0, height - 2 * kScrollBar);
    const int range = info.max - info.min + 1;
    const int thumbHeight =
        std::clamp(info.page > 0 ? trackHeight * info.page / range : 8, 8, trackHeight);
    const int span = std::max(1, std::max(info.min, top) - info.min);
    const int thumbTop = (trackHeight - thumbHeight) * std::clamp(info.pos - info.min, 0, span) / span;
    val thumb = scrollBar_.call<val>("querySelector", std::string(".thumb"));
    Px(thumb, "height", thumbHeight);
    Px(thumb, "top", thumbTop);
}

void WebDialog::ScrollContent(int dy) {
    contentOffset_ += dy;
    Px(content_, "top", contentOffset_);
}

void WebDialog::AppendSystemMenuCommand(int commandId, std::string_view text) {
    val item = Element("div", "menuitem");
    Attr(item, "role", "menuitem");
    item.set("tabIndex", -1);
    item["dataset"].set("command", commandId);
    item.set("textContent", ForPage(text));
    menu_.call<void>("append", item);
}

}  // namespace ostrova::platform::web
