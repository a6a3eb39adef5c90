// One open dialog in the page: a modal layer holding a window of absolutely positioned HTML
// controls laid out from the template, which renders the framework's state and turns the
// page's events into the framework's user input.
#pragma once

#include <emscripten/val.h>

#include <string>
#include <vector>

#include "platform/framework.h"

namespace ostrova::platform::web {

class WebBackend;

// Dialog units to CSS pixels through the template font, as the desktop's dialog manager does.
struct DialogMetrics {
    std::string font;  // CSS font of the template
    int baseX = 0;     // average character width, the Windows way
    int baseY = 0;     // ascent + descent
};
DialogMetrics MetricsFor(const DialogTemplate& tpl);
struct PixelRect {
    int x = 0, y = 0, w = 0, h = 0;
};
PixelRect ToPixels(const DluRect& rect, const DialogMetrics& m);
// The CSS font of a control font given by its cell height (ascent + descent) in pixels.
std::string CssFontForCellHeight(const FontSpec& font);
// Text of the record (Windows-1252 bytes) for the page.
std::string ForPage(std::string_view cp1252);

class WebDialog : public DialogView {
public:
    WebDialog(CDialog& dlg, WebBackend& backend, WebDialog* owner);
    ~WebDialog() override;
    WebDialog(const WebDialog&) = delete;
    WebDialog& operator=(const WebDialog&) = delete;

    CDialog& dialog() { return dlg_; }
    int serial() const { return serial_; }
    bool ended() const { return ended_; }
    void Show();
    // One event of the page for this window.
    void Handle(const emscripten::val& event);
    void OnTimer(int timerId);

    // DialogView
    void ControlChanged(int index, std::uint32_t flags) override;
    void FocusControl(int index) override;
    void MoveFocus(int index, FocusMove how) override;
    void EndModal(int result) override;
    void MoveWindow(int x, int y, int width, int height) override;
    FormWidths FormOuterWidths(bool scrollBar) const override;
    void SetScrollInfo(const ScrollInfo& info, bool redraw) override;
    void ScrollContent(int dy) override;
    void StartTimer(int timerId, int periodMs) override;
    void AppendSystemMenuCommand(int commandId, std::string_view text) override;

private:
    // controls.cpp
    void BuildControls();
    emscripten::val CreateControl(int index, const ControlTemplate& tpl);
    void RenderFont(int index) override;
    void RenderEnabled(int index) override;
    void RenderVisible(int index) override;
    void RenderItems(int index) override;
    void RenderSelection(int index) override;
    void RenderText(int index) override;
    void RenderCheck(int index) override;
    void RenderEditSelection(int index) override;
    // accessibility.cpp
    void ApplyRole(int index, emscripten::val& element) const;
    void LinkNames();
    // edit_input.cpp
    void OnEdit(int index, const emscripten::val& event);
    void OnEdited(int index, const emscripten::val& event);
    void OnCaret(int index, const emscripten::val& event);
    void OnUndo(int index, const emscripten::val& event);
    bool TakeSelection(int index, const emscripten::val& event);
    // keyboard.cpp
    void OnKey(const emscripten::val& event);
    // frame.cpp
    void BuildFrame();
    void LayoutFrame();
    void RenderScrollBar();

    const ControlState& State(int index) const;
    emscripten::val Control(int index) const;  // the element of control `index`
    emscripten::val Focusable(int index) const;  // its element that takes the focus and keys
    std::string ElementId(int index) const;
    int Id(int index) const { return State(index).id; }

    CDialog& dlg_;
    WebBackend& backend_;
    WebDialog* owner_;
    int serial_;
    DialogMetrics metrics_;
    emscripten::val layer_ = emscripten::val::null();   // the modal layer over the page
    emscripten::val window_ = emscripten::val::null();  // the framed window
    emscripten::val client_ = emscripten::val::null();  // its client area
    emscripten::val content_ = emscripten::val::null(); // the controls, moved by scrolling
    emscripten::val scrollBar_ = emscripten::val::null();
    emscripten::val menu_ = emscripten::val::null();
    std::vector<emscripten::val> controls_;
    std::vector<emscripten::val> focusables_;
    ScrollInfo scroll_;
    int contentOffset_ = 0;
    bool hasPlacement_ = false;
    int outerWidth_ = 0, outerHeight_ = 0;
    bool ended_ = false;
};

}  // namespace ostrova::platform::web
