#include "platform/win32/dialog_template.h"

#include "platform/win32/windows_api.h"

#include <charconv>
#include <string>
#include <string_view>

#include "platform/win32/wide_text.h"

namespace ostrova::platform::win32 {
namespace {

constexpr std::uint16_t kButtonAtom = 0x0080;
constexpr std::uint16_t kEditAtom = 0x0081;
constexpr std::uint16_t kStaticAtom = 0x0082;
constexpr std::uint16_t kComboAtom = 0x0085;

class Writer {
public:
    void Word(std::uint16_t v) {
        bytes_.push_back(static_cast<std::uint8_t>(v & 0xFF));
        bytes_.push_back(static_cast<std::uint8_t>(v >> 8));
    }
    void Dword(std::uint32_t v) {
        Word(static_cast<std::uint16_t>(v & 0xFFFF));
        Word(static_cast<std::uint16_t>(v >> 16));
    }
    void Byte(std::uint8_t v) { bytes_.push_back(v); }
    void Text(const std::wstring& text) {
        for (wchar_t c : text) Word(static_cast<std::uint16_t>(c));
        Word(0);
    }
    void AlignDword() {
        while (bytes_.size() % 4 != 0) bytes_.push_back(0);
    }
    std::vector<std::uint8_t> Take() { return std::move(bytes_); }

private:
    std::vector<std::uint8_t> bytes_;
};

}  // namespace

std::uint16_t IconResourceOf(std::string_view text) {
    unsigned id = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), id);
    return error == std::errc() && end == text.data() + text.size() ? static_cast<std::uint16_t>(id)
                                                                    : 0;
}

bool IsTextArea(const ControlTemplate& tpl) {
    return (tpl.style & kStyleMultiLine) != 0 && (tpl.style & kStyleAutoHScroll) == 0;
}

NativeControlStyle NativeStyleOf(const ControlTemplate& tpl) {
    NativeControlStyle n;
    n.style = WS_CHILD | WS_VISIBLE;
    const std::uint32_t f = tpl.style;
    if ((f & kStyleGroup) != 0) n.style |= WS_GROUP;
    if ((f & kStyleTabStop) != 0) n.style |= WS_TABSTOP;
    if ((f & kStyleDisabled) != 0) n.style |= WS_DISABLED;
    switch (tpl.kind) {
        case ControlKind::PushButton:
            n.classAtom = kButtonAtom;
            n.style |= (f & kStyleDefault) != 0 ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
            break;
        // Automatic or not, the framework decides every check and the button only shows it:
        // a native automatic radio button would also untick its group whenever code ticks it.
        case ControlKind::RadioButton:
            n.classAtom = kButtonAtom;
            n.style |= BS_RADIOBUTTON;
            break;
        case ControlKind::CheckBox:
            n.classAtom = kButtonAtom;
            n.style |= BS_CHECKBOX;
            break;
        case ControlKind::GroupBox:
            n.classAtom = kButtonAtom;
            n.style |= BS_GROUPBOX;
            break;
        case ControlKind::Label:
            n.classAtom = kStaticAtom;
            n.style |= SS_LEFT;
            if ((f & kStyleCenterV) != 0) n.style |= SS_CENTERIMAGE;
            if ((f & kStyleNoPrefix) != 0) n.style |= SS_NOPREFIX;
            break;
        case ControlKind::Icon:
            n.classAtom = kStaticAtom;
            n.style |= SS_ICON;
            break;
        case ControlKind::Edit:
            n.classAtom = kEditAtom;
            n.style |= ES_LEFT;
            if (IsTextArea(tpl)) n.style |= ES_MULTILINE | ES_AUTOVSCROLL;
            // A single-line edit scrolls sideways: the framework's rules decide how much text it
            // takes, never its width.
            if ((f & kStyleAutoHScroll) != 0 || !IsTextArea(tpl)) n.style |= ES_AUTOHSCROLL;
            if ((f & kStylePassword) != 0) n.style |= ES_PASSWORD;
            if ((f & kStyleReadOnly) != 0) n.style |= ES_READONLY;
            if ((f & kStyleVScroll) != 0) n.style |= WS_VSCROLL;
            // The framework decides what a digits-only edit takes; natively it is one too, so
            // Windows shows its own tip for a letter and the touch keyboard opens on digits.
            if (tpl.edit.digitsOnly) n.style |= ES_NUMBER;
            if ((f & kStyleBorder) != 0) n.exStyle |= WS_EX_CLIENTEDGE;
            break;
        case ControlKind::ComboDropDown:
        case ControlKind::ComboDropList:
            n.classAtom = kComboAtom;
            n.style |= tpl.kind == ControlKind::ComboDropDown ? CBS_DROPDOWN | CBS_AUTOHSCROLL
                                                              : CBS_DROPDOWNLIST;
            if ((f & kStyleVScroll) != 0) n.style |= WS_VSCROLL;
            break;
    }
    return n;
}

std::uint32_t NativeDialogStyle(const DialogTemplate& tpl) {
    std::uint32_t style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
    if (tpl.vscroll) style |= WS_VSCROLL;
    return style;
}

std::uint32_t NativeDialogExStyle(const DialogTemplate& tpl) {
    return tpl.appWindow ? WS_EX_APPWINDOW : 0;
}

std::vector<std::uint8_t> BuildDialogTemplate(const DialogTemplate& tpl, bool controls) {
    Writer w;
    w.Word(1);       // dlgVer
    w.Word(0xFFFF);  // signature: the extended form
    w.Dword(0);      // helpID
    w.Dword(NativeDialogExStyle(tpl));
    w.Dword(NativeDialogStyle(tpl));
    w.Word(static_cast<std::uint16_t>(controls ? tpl.controls.size() : 0));
    w.Word(0);  // x, y: the window places itself
    w.Word(0);
    w.Word(static_cast<std::uint16_t>(tpl.width));
    w.Word(static_cast<std::uint16_t>(tpl.height));
    w.Word(0);  // no menu
    w.Word(0);  // the dialog class
    w.Text(WideFromCp1252(tpl.title));
    w.Word(static_cast<std::uint16_t>(tpl.fontPoints));
    w.Word(FW_NORMAL);
    w.Byte(0);  // not italic
    w.Byte(DEFAULT_CHARSET);
    w.Text(WideFromCp1252(tpl.fontFace));

    for (const ControlTemplate& c : tpl.controls) {
        if (!controls) break;
        w.AlignDword();
        const NativeControlStyle n = NativeStyleOf(c);
        w.Dword(0);  // helpID
        w.Dword(n.exStyle);
        w.Dword(n.style);
        w.Word(static_cast<std::uint16_t>(c.rect.x));
        w.Word(static_cast<std::uint16_t>(c.rect.y));
        w.Word(static_cast<std::uint16_t>(c.rect.w));
        w.Word(static_cast<std::uint16_t>(c.rect.h));
        w.Dword(static_cast<std::uint32_t>(c.id));  // kNoId is IDC_STATIC, -1
        w.Word(0xFFFF);
        w.Word(n.classAtom);
        if (c.kind == ControlKind::Icon) {
            w.Word(0xFFFF);
            w.Word(IconResourceOf(c.text));
        } else if (c.kind == ControlKind::Edit || c.kind == ControlKind::ComboDropDown ||
                   c.kind == ControlKind::ComboDropList) {
            w.Word(0);  // the framework pushes the text
        } else {
            w.Text(WideFromCp1252(c.text));
        }
        w.Word(0);  // no creation data
    }
    return w.Take();
}

}  // namespace ostrova::platform::win32
