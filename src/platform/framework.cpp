#include "platform/framework.h"

#include <algorithm>
#include <cassert>
#include <charconv>
#include <cstdlib>
#include <limits>

#include "platform/cp1252.h"
#include "platform/dialog_manager.h"

namespace ostrova::platform {
namespace {

Backend* g_backend = nullptr;

// A combo's edit field shows a picked entry selected whole, as the desktop does.
void SelectWholeText(ControlState& s) {
    s.anchor = 0;
    s.caret = static_cast<int>(s.text.size());
}

// Parses a signed 32-bit decimal number with optional blanks around it; no overflow, no wrap.
std::optional<int> ParseInt(std::string_view text) {
    auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    if (text.empty()) return std::nullopt;
    std::int64_t value = 0;
    bool negative = false;
    std::size_t i = 0;
    if (text[0] == '-') {
        negative = true;
        i = 1;
    }
    if (i == text.size()) return std::nullopt;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return std::nullopt;
        value = value * 10 + (text[i] - '0');
        if (value > std::int64_t{std::numeric_limits<int>::max()} + 1) return std::nullopt;
    }
    if (negative) value = -value;
    if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(value);
}

}  // namespace

void DialogView::RenderChanges(int index, std::uint32_t flags) {
    if ((flags & kChangedFont) != 0) RenderFont(index);
    if ((flags & kChangedEnabled) != 0) RenderEnabled(index);
    if ((flags & kChangedVisible) != 0) RenderVisible(index);
    if ((flags & kChangedItems) != 0) RenderItems(index);
    if ((flags & kChangedSelection) != 0) RenderSelection(index);
    if ((flags & (kChangedText | kChangedItems | kChangedSelection)) != 0) RenderText(index);
    if ((flags & kChangedCheck) != 0) RenderCheck(index);
    if ((flags & kChangedEditSel) != 0) RenderEditSelection(index);
}

void SetBackend(Backend* backend) {
    g_backend = backend;
}

Backend& CurrentBackend() {
    assert(g_backend != nullptr && "no backend set");
    return *g_backend;
}

void AfxMessageBox(std::string_view text) {
    CurrentBackend().services().MessageBox(text);
}

std::string TooLongMessage(int maxChars) {
    return "Please enter no more than " + std::to_string(maxChars) + " characters.";
}

// --- Control wrappers ------------------------------------------------------------------------

ControlState& CWnd::state() const {
    assert(dlg_ != nullptr && "control not bound");
    return dlg_->Item(id_);
}

void CWnd::touch(std::uint32_t flags) const {
    dlg_->Touch(id_, flags);
}

void CWnd::EnableWindow(bool enable) {
    dlg_->EnableItem(id_, enable);
}
bool CWnd::IsWindowEnabled() const {
    return state().enabled;
}
void CWnd::SetWindowText(std::string_view text) {
    dlg_->SetItemText(id_, text);
}
std::string CWnd::GetWindowText() const {
    return state().text;
}
void CWnd::ShowWindow(bool show) {
    if (state().visible == show) return;
    state().visible = show;
    touch(kChangedVisible);
}
void CWnd::SetFont(const FontSpec& font) {
    dlg_->SetItemFont(id_, font);
}

void CButton::SetCheck(bool checked) {
    dlg_->CheckItem(id_, checked);
}
bool CButton::GetCheck() const {
    return state().checked;
}

void CComboBox::ResetContent() {
    ControlState& s = state();
    s.items.clear();
    s.selection = -1;
    if (s.kind == ControlKind::ComboDropDown) {
        s.text.clear();
        s.history.Clear();
        SelectWholeText(s);
    }
    touch(kChangedItems | kChangedSelection | kChangedText | kChangedEditSel);
}

int CComboBox::InsertString(int index, std::string_view text) {
    ControlState& s = state();
    const int count = static_cast<int>(s.items.size());
    if (index < 0 || index > count) index = count;
    s.items.insert(s.items.begin() + index, std::string(text));
    if (s.selection >= index) ++s.selection;  // the selected entry moves with the insertion
    touch(kChangedItems | kChangedSelection);
    return index;
}

int CComboBox::GetCount() const {
    return static_cast<int>(state().items.size());
}
int CComboBox::GetCurSel() const {
    return state().selection;
}

void CComboBox::SetCurSel(int index) {
    ControlState& s = state();
    if (index < 0 || index >= static_cast<int>(s.items.size())) index = -1;
    s.selection = index;
    if (s.kind == ControlKind::ComboDropDown) {
        s.text = index >= 0 ? s.items[static_cast<std::size_t>(index)] : std::string();
        s.history.Clear();
        SelectWholeText(s);
    }
    touch(kChangedSelection | kChangedText | kChangedEditSel);
}

std::string CComboBox::GetLBText(int index) const {
    const ControlState& s = state();
    if (index < 0 || index >= static_cast<int>(s.items.size())) return {};
    return s.items[static_cast<std::size_t>(index)];
}

void CEdit::SetSel(int start, int end) {
    ControlState& s = state();
    const int len = static_cast<int>(s.text.size());
    if (end < 0 || end > len) end = len;
    start = std::clamp(start, 0, len);
    if (s.caret != end) s.history.Separate();
    s.anchor = start;
    s.caret = end;
    touch(kChangedEditSel);
}

// --- Data exchange ---------------------------------------------------------------------------

void DDX_Control(CDataExchange& dx, int id, CWnd& control) {
    CDialog& dlg = dx.dialog();
    assert(dlg.HasItem(id) && "DDX_Control on a missing control");
    control.dlg_ = &dlg;
    control.id_ = id;
}

void DDX_Text(CDataExchange& dx, int id, std::string& value) {
    if (dx.failed()) return;
    CDialog& dlg = dx.dialog();
    dlg.lastExchangeId_ = id;
    if (dx.m_bSaveAndValidate) {
        value = dlg.Item(id).text;
    } else {
        dlg.SetItemText(id, value);
    }
}

void DDX_Text(CDataExchange& dx, int id, int& value) {
    if (dx.failed()) return;
    CDialog& dlg = dx.dialog();
    dlg.lastExchangeId_ = id;
    if (dx.m_bSaveAndValidate) {
        const auto parsed = ParseInt(dlg.Item(id).text);
        if (!parsed) {
            dlg.FailField(dx, id, kNotANumberMessage);
            return;
        }
        value = *parsed;
    } else {
        dlg.SetItemText(id, std::to_string(value));
    }
}

void DDV_Limit(CDataExchange& dx, const std::string& value) {
    if (dx.failed() || !dx.m_bSaveAndValidate) return;
    CDialog& dlg = dx.dialog();
    const int id = dlg.lastExchangeId_;
    const int maxBytes = dlg.Item(id).rule.maxBytes;
    if (maxBytes > 0 && static_cast<int>(value.size()) > maxBytes)
        dlg.FailField(dx, id, TooLongMessage(maxBytes));
}

// --- Dialogs ---------------------------------------------------------------------------------

CDialog::CDialog(const DialogTemplate& tpl, CDialog* parent) : tpl_(tpl), parent_(parent) {}

CDialog::~CDialog() = default;

int CDialog::DoModal() {
    result_ = -1;
    return CurrentBackend().RunModal(*this);
}

bool CDialog::Create(DialogView& view) {
    view_ = &view;
    ended_ = false;
    controls_.clear();
    controls_.reserve(tpl_.controls.size());
    for (const ControlTemplate& t : tpl_.controls) {
        ControlState s;
        s.tpl = &t;
        s.id = t.id;
        s.kind = t.kind;
        s.style = t.style;
        s.rule = t.edit;
        const bool captioned = t.kind == ControlKind::PushButton ||
                               t.kind == ControlKind::RadioButton ||
                               t.kind == ControlKind::CheckBox || t.kind == ControlKind::GroupBox ||
                               t.kind == ControlKind::Label;
        if (captioned) s.text = std::string(t.text);
        s.enabled = (t.style & kStyleDisabled) == 0;
        s.history = EditHistory(CurrentBackend().undoStyle());
        controls_.push_back(std::move(s));
    }
    for (int i = 0; i < static_cast<int>(controls_.size()); ++i) TouchIndex(i, kChangedAll);
    return OnInitDialog();
}

void CDialog::Destroyed() {
    view_ = nullptr;
    ended_ = true;
}

void CDialog::EndDialog(int result) {
    ended_ = true;
    result_ = result;
    if (view_ != nullptr) view_->EndModal(result);
}

bool CDialog::UpdateData(bool saveAndValidate) {
    ++exchangeDepth_;
    CDataExchange dx(*this, saveAndValidate);
    DoDataExchange(dx);
    --exchangeDepth_;
    return !dx.failed();
}

bool CDialog::OnInitDialog() {
    UpdateData(false);
    return true;
}

void CDialog::OnOK() {
    if (!UpdateData(true)) return;
    EndDialog(kIdOk);
}

void CDialog::OnCancel() {
    EndDialog(kIdCancel);
}

void CDialog::DoDataExchange(CDataExchange&) {}
void CDialog::OnTimer(int) {}
void CDialog::OnSysCommand(int) {}
void CDialog::OnVScroll(ScrollRequest, int) {}
void CDialog::OnMouseWheel(int) {}

void CDialog::On(int id, Notify notify, std::function<void()> handler) {
    handlers_.push_back({id, notify, std::move(handler)});
}

int CDialog::IndexOf(int id) const {
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        if (controls_[i].id == id && id != kNoId) return static_cast<int>(i);
    }
    return -1;
}

bool CDialog::HasItem(int id) const {
    return IndexOf(id) >= 0;
}

ControlState& CDialog::Item(int id) {
    const int i = IndexOf(id);
    assert(i >= 0 && "no control with this id");
    return controls_[static_cast<std::size_t>(i)];
}

const ControlState& CDialog::Item(int id) const {
    const int i = IndexOf(id);
    assert(i >= 0 && "no control with this id");
    return controls_[static_cast<std::size_t>(i)];
}

void CDialog::Touch(int id, std::uint32_t flags) {
    TouchIndex(IndexOf(id), flags);
}

void CDialog::TouchIndex(int index, std::uint32_t flags) {
    if (view_ != nullptr && index >= 0) view_->ControlChanged(index, flags);
}

void CDialog::EnableItem(int id, bool enable) {
    ControlState& s = Item(id);
    if (s.enabled == enable) return;
    s.enabled = enable;
    Touch(id, kChangedEnabled);
}

bool CDialog::IsItemEnabled(int id) const {
    return Item(id).enabled;
}

void CDialog::SetItemText(int id, std::string_view text) {
    ControlState& s = Item(id);
    if (s.text == text) return;  // keeps caret and selection
    s.text = std::string(text);
    s.history.Clear();  // text set from code ends the undo history, as in the toolkits' fields
    const int len = static_cast<int>(s.text.size());
    s.anchor = std::min(s.anchor, len);
    s.caret = std::min(s.caret, len);
    Touch(id, kChangedText | kChangedEditSel);
}

std::string CDialog::ItemText(int id) const {
    return Item(id).text;
}

void CDialog::CheckItem(int id, bool checked) {
    ControlState& s = Item(id);
    if (s.checked == checked) return;
    s.checked = checked;
    Touch(id, kChangedCheck);
}

bool CDialog::IsItemChecked(int id) const {
    return Item(id).checked;
}

void CDialog::SetItemFont(int id, const FontSpec& font) {
    Item(id).font = font;
    Touch(id, kChangedFont);
}

void CDialog::GotoDlgCtrl(int id) {
    focus_ = id;
    if (view_ != nullptr) view_->FocusControl(IndexOf(id));
}

void CDialog::Bind(CWnd& control, int id) {
    assert(HasItem(id) && "binding a missing control");
    control.dlg_ = this;
    control.id_ = id;
}

void CDialog::MoveWindow(int x, int y, int width, int height) {
    placement_ = Placement{x, y, width, height, 0};
    PlaceWindow(true);
}

// Never narrower than the form: at some DPIs the template font's units grow faster than the
// screen's scale, and a control past the window's edge could not be reached. The scroll bar
// takes its room only where it shows, as Windows shows a window's own bar.
void CDialog::PlaceWindow(bool always) {
    if (view_ == nullptr || !placement_) return;
    Placement& p = *placement_;
    const bool bar = scroll_.page > 0 && scroll_.max - scroll_.min + 1 > scroll_.page;
    const DialogView::FormWidths form = view_->FormOuterWidths(bar);
    const int width = form.edge > p.width ? std::max(p.width, form.margin) : p.width;
    if (!always && width == p.placedWidth) return;
    p.placedWidth = width;
    view_->MoveWindow(p.x, p.y, width, p.height);
}

void CDialog::SetScrollInfo(const ScrollInfo& info, bool redraw) {
    scroll_ = info;
    if (view_ != nullptr) view_->SetScrollInfo(info, redraw);
    PlaceWindow(false);
}

void CDialog::ScrollWindow(int dy) {
    if (view_ != nullptr) view_->ScrollContent(dy);
}

int CDialog::SetTimer(int timerId, int periodMs) {
    if (view_ == nullptr) return 0;
    view_->StartTimer(timerId, periodMs);
    return timerId;
}

void CDialog::AppendSystemMenuCommand(int commandId, std::string_view text) {
    if (view_ != nullptr) view_->AppendSystemMenuCommand(commandId, text);
}

Services& CDialog::services() const {
    return CurrentBackend().services();
}

void CDialog::Raise(int id, Notify notify) {
    if (exchangeDepth_ > 0) return;  // nothing is dispatched while a pull or push runs
    for (std::size_t i = 0; i < handlers_.size(); ++i) {
        if (handlers_[i].id == id && handlers_[i].notify == notify) {
            const auto handler = handlers_[i].handler;  // the table may not change under it
            handler();
            return;
        }
    }
}

void CDialog::FailField(CDataExchange& dx, int id, std::string_view message) {
    AfxMessageBox(message);
    GotoDlgCtrl(id);
    ControlState& s = Item(id);
    if (s.caret != static_cast<int>(s.text.size())) s.history.Separate();
    s.anchor = 0;
    s.caret = static_cast<int>(s.text.size());
    Touch(id, kChangedEditSel);
    dx.Fail();
}

std::string CDialog::DisplayText(int index) const {
    return Cp1252ToUtf8(controls_.at(static_cast<std::size_t>(index)).text);
}

// --- User input (the edits' in edit_rules.cpp, the dialog manager's keys in dialog_manager.cpp)

void CDialog::UserClick(int id) {
    const int index = IndexOf(id);
    if (index < 0 || exchangeDepth_ > 0) return;
    ControlState& s = controls_[static_cast<std::size_t>(index)];
    if (!s.enabled) return;
    const bool automatic = (s.style & kStyleAuto) != 0;
    if (s.kind == ControlKind::CheckBox && automatic) {
        s.checked = !s.checked;
        TouchIndex(index, kChangedCheck);
    } else if (s.kind == ControlKind::RadioButton && automatic) {
        const auto [first, last] = GroupOf(controls_, index);
        for (int i = first; i < last; ++i) {
            ControlState& other = controls_[static_cast<std::size_t>(i)];
            const bool mine = i == index;
            if (other.kind != ControlKind::RadioButton || (other.style & kStyleAuto) == 0) continue;
            if (other.checked != mine) {
                other.checked = mine;
                TouchIndex(i, kChangedCheck);
            }
        }
        TouchIndex(index, kChangedCheck);  // a click on a checked radio leaves it checked
    } else if (s.kind == ControlKind::CheckBox || s.kind == ControlKind::RadioButton) {
        TouchIndex(index, kChangedCheck);
    }
    if (s.kind == ControlKind::PushButton) {
        const bool handled = std::any_of(handlers_.begin(), handlers_.end(), [&](const auto& h) {
            return h.id == id && h.notify == Notify::Clicked;
        });
        if (!handled && id == kIdOk) return OnOK();
        if (!handled && id == kIdCancel) return OnCancel();
    }
    Raise(id, Notify::Clicked);
}

void CDialog::UserPick(int id, int index) {
    const int ci = IndexOf(id);
    if (ci < 0 || exchangeDepth_ > 0) return;
    ControlState& s = controls_[static_cast<std::size_t>(ci)];
    if (!s.enabled || index < 0 || index >= static_cast<int>(s.items.size())) {
        TouchIndex(ci, kChangedSelection | kChangedText);
        return;
    }
    // Picking the entry that is already selected changes nothing and raises nothing, so that
    // re-opening a list and clicking its current entry cannot reset what depends on it.
    const bool changed = s.selection != index;
    s.selection = index;
    if (s.kind == ControlKind::ComboDropDown) {
        s.text = s.items[static_cast<std::size_t>(index)];
        s.history.Clear();
        SelectWholeText(s);
    }
    TouchIndex(ci, kChangedSelection | kChangedText | kChangedEditSel);
    if (changed) Raise(id, Notify::SelChange);
}

void CDialog::UserFocus(int id) {
    if (id == focus_) return;
    const int old = focus_;
    focus_ = id;
    if (exchangeDepth_ > 0) return;
    if (old != kNoId) Raise(old, Notify::KillFocus);
    if (id != kNoId && focus_ == id) Raise(id, Notify::SetFocus);
}

void CDialog::UserCancel() {
    if (exchangeDepth_ > 0) return;
    OnCancel();
}

void CDialog::UserSysCommand(int commandId) {
    OnSysCommand(commandId);
}

void CDialog::UserVScroll(ScrollRequest request, int thumbPos) {
    OnVScroll(request, thumbPos);
}

void CDialog::UserMouseWheel(int delta) {
    OnMouseWheel(delta);
}

// Timer messages are not user input: they arrive in nested loops too, pulls and pushes
// included, and the clock's push is an exchange of its own.
void CDialog::UserTimer(int timerId) {
    OnTimer(timerId);
}

}  // namespace ostrova::platform
