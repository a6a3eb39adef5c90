#include "platform/headless/headless.h"

#include <algorithm>

#include "platform/cp1252.h"

namespace ostrova::platform::headless {

// --- The user's hands --------------------------------------------------------------------------

std::pair<int, int> HeadlessDialog::Selected(int id) const {
    const ControlState& s = dlg_.Item(id);
    return {std::min(s.anchor, s.caret), std::max(s.anchor, s.caret)};
}

void HeadlessDialog::Type(int id, std::string_view utf8) {
    Focus(id);
    for (char32_t cp : DecodeUtf8(utf8)) {
        // Re-encode one character at a time: a keystroke.
        std::string one;
        if (cp < 0x80) {
            one += static_cast<char>(cp);
        } else {
            const auto b = Cp1252FromCodePoint(cp);
            one = b ? Cp1252ToUtf8(std::string(1, static_cast<char>(*b))) : "\xEF\xBF\xBD";
        }
        const auto [lo, hi] = Selected(id);
        dlg_.UserReplace(id, lo, hi, one, EditKind::Typing);
    }
}

void HeadlessDialog::Paste(int id, std::string_view utf8) {
    Focus(id);
    const auto [lo, hi] = Selected(id);
    dlg_.UserReplace(id, lo, hi, utf8, EditKind::Paste);
}

void HeadlessDialog::Backspace(int id, int times) {
    Focus(id);
    for (int i = 0; i < times; ++i) {
        const auto [lo, hi] = Selected(id);
        if (lo == hi && lo == 0) return;
        dlg_.UserReplace(id, lo == hi ? lo - 1 : lo, hi, "", EditKind::Backspace);
    }
}

void HeadlessDialog::Delete(int id, int times) {
    Focus(id);
    for (int i = 0; i < times; ++i) {
        const auto [lo, hi] = Selected(id);
        const int len = static_cast<int>(dlg_.Item(id).text.size());
        if (lo == hi && hi == len) return;
        dlg_.UserReplace(id, lo, lo == hi ? hi + 1 : hi, "", EditKind::Delete);
    }
}

void HeadlessDialog::Cut(int id) {
    Focus(id);
    const auto [lo, hi] = Selected(id);
    if (lo < hi) dlg_.UserReplace(id, lo, hi, "", EditKind::Delete);
}

void HeadlessDialog::Undo(int id) {
    Focus(id);
    dlg_.UserUndo(id);
}

void HeadlessDialog::Redo(int id) {
    Focus(id);
    dlg_.UserRedo(id);
}

void HeadlessDialog::SelectAll(int id) {
    Focus(id);
    dlg_.UserSetEditSelection(id, 0, static_cast<int>(dlg_.Item(id).text.size()));
}

void HeadlessDialog::SetCaret(int id, int position) {
    Focus(id);
    dlg_.UserSetEditSelection(id, position, position);
}

void HeadlessDialog::Select(int id, int anchor, int caret) {
    Focus(id);
    dlg_.UserSetEditSelection(id, anchor, caret);
}

void HeadlessDialog::Retype(int id, std::string_view utf8) {
    SelectAll(id);
    if (!dlg_.Item(id).text.empty()) Backspace(id);
    Type(id, utf8);
}

void HeadlessDialog::Click(int id) {
    // A click moves the focus to push buttons, boxes and radios, as on the desktop.
    Focus(id);
    dlg_.UserClick(id);
}

void HeadlessDialog::Pick(int id, int index) {
    Focus(id);
    dlg_.UserPick(id, index);
}

void HeadlessDialog::Focus(int id) {
    if (dlg_.focusedId() != id && dlg_.IsItemEnabled(id)) dlg_.UserFocus(id);
}

void HeadlessDialog::Key(DialogKey key, bool listOpen) {
    dlg_.UserKey(key, dlg_.IndexOf(dlg_.focusedId()), listOpen);
}
void HeadlessDialog::Enter() {
    Key(DialogKey::Enter);
}
void HeadlessDialog::Escape() {
    Key(DialogKey::Escape);
}
void HeadlessDialog::Close() {
    dlg_.UserCancel();
}
void HeadlessDialog::SysCommand(int commandId) {
    dlg_.UserSysCommand(commandId);
}
void HeadlessDialog::VScroll(ScrollRequest request, int thumbPos) {
    dlg_.UserVScroll(request, thumbPos);
}
void HeadlessDialog::Wheel(int delta) {
    dlg_.UserMouseWheel(delta);
}

std::string HeadlessDialog::Text(int id) const {
    return Cp1252ToUtf8(dlg_.Item(id).text);
}
bool HeadlessDialog::Enabled(int id) const {
    return dlg_.Item(id).enabled;
}
bool HeadlessDialog::Checked(int id) const {
    return dlg_.Item(id).checked;
}
std::vector<std::string> HeadlessDialog::Items(int id) const {
    std::vector<std::string> out;
    for (const auto& item : dlg_.Item(id).items) out.push_back(Cp1252ToUtf8(item));
    return out;
}
int HeadlessDialog::Selection(int id) const {
    return dlg_.Item(id).selection;
}
std::pair<int, int> HeadlessDialog::EditSelection(int id) const {
    const ControlState& s = dlg_.Item(id);
    return {s.anchor, s.caret};
}

// --- The view ----------------------------------------------------------------------------------

void HeadlessDialog::ControlChanged(int, std::uint32_t) {
    ++renders;
}
void HeadlessDialog::FocusControl(int) {}
void HeadlessDialog::MoveFocus(int index, FocusMove how) {
    // Keyboard navigation is the user's: the focus is reported as it lands.
    if (how != FocusMove::Start)
        dlg_.UserFocus(dlg_.controls()[static_cast<std::size_t>(index)].id);
}
void HeadlessDialog::EndModal(int r) {
    ended = true;
    result = r;
}
void HeadlessDialog::MoveWindow(int x, int y, int width, int height) {
    windowRect = Rect{x, y, width, height};
}
DialogView::FormWidths HeadlessDialog::FormOuterWidths(bool) const {
    return backend_.formWidths;
}
void HeadlessDialog::SetScrollInfo(const ScrollInfo& info, bool redraw) {
    scroll = info;
    scrollRedrawn = redraw;
}
void HeadlessDialog::ScrollContent(int dy) {
    contentOffset += dy;
}
void HeadlessDialog::StartTimer(int timerId, int periodMs) {
    timers[timerId] = periodMs;
}
void HeadlessDialog::AppendSystemMenuCommand(int commandId, std::string_view text) {
    systemMenu.emplace_back(commandId, std::string(text));
}

// --- The backend -------------------------------------------------------------------------------

HeadlessBackend::HeadlessBackend() {
    now.tm_year = 2026 - 1900;
    now.tm_mon = 11;
    now.tm_mday = 7;
    now.tm_hour = 9;
    now.tm_min = 5;
    now.tm_sec = 3;
    SetBackend(this);
}

// Dialogs shown by a test may already be gone: the views are dropped without touching them.
HeadlessBackend::~HeadlessBackend() {
    SetBackend(nullptr);
}

void HeadlessBackend::WhenOpened(int templateId, Script script) {
    scripts_[templateId].push_back(std::move(script));
}

HeadlessDialog& HeadlessBackend::Show(CDialog& dlg) {
    open_.push_back(std::make_unique<HeadlessDialog>(dlg, *this));
    HeadlessDialog& view = *open_.back();
    dlg.Create(view);
    return view;
}

void HeadlessBackend::Dismiss(CDialog& dlg) {
    const auto it = std::find_if(open_.begin(), open_.end(),
                                 [&dlg](const auto& v) { return &v->dialog() == &dlg; });
    if (it == open_.end()) return;
    dlg.Destroyed();
    open_.erase(it);
}

int HeadlessBackend::RunModal(CDialog& dlg) {
    open_.push_back(std::make_unique<HeadlessDialog>(dlg, *this));
    HeadlessDialog* view = open_.back().get();
    dlg.Create(*view);
    const int id = dlg.dialogTemplate().id;
    if (!view->ended) {
        auto& queue = scripts_[id];
        if (queue.empty()) {
            problems.push_back("dialog " + std::to_string(id) + " opened without a script");
        } else {
            const Script script = std::move(queue.front());
            queue.pop_front();
            script(*view);
            if (!view->ended) {
                problems.push_back("dialog " + std::to_string(id) + " left open by its script");
            }
        }
        if (!view->ended) dlg.EndDialog(kIdCancel);
    }
    const int result = view->result;
    dlg.Destroyed();
    std::erase_if(open_, [view](const auto& v) { return v.get() == view; });
    return result;
}

void HeadlessBackend::Tick(int times) {
    for (int t = 0; t < times; ++t) {
        // A handler may open or close dialogs: walk a snapshot.
        std::vector<HeadlessDialog*> snapshot;
        for (auto& v : open_) snapshot.push_back(v.get());
        for (HeadlessDialog* v : snapshot) {
            if (v->ended) continue;
            for (const auto& [id, period] : v->timers) v->dialog().UserTimer(id);
        }
    }
}

void HeadlessBackend::MessageBox(std::string_view text) {
    messages.emplace_back(text);
    if (duringMessageBox) duringMessageBox(text);
}

std::optional<std::filesystem::path> HeadlessBackend::FileDialog(bool save,
                                                                 const FileDialogRequest& req) {
    fileDialogs.push_back({save, std::string(req.defaultExtension), std::string(req.initialName),
                           std::string(req.filter)});
    auto& answers = save ? saveAnswers : openAnswers;
    if (answers.empty()) {
        problems.push_back(save ? "save dialog without an answer"
                                : "open dialog without an answer");
        return std::nullopt;
    }
    auto answer = answers.front();
    answers.pop_front();
    if (answer) {
        *answer = std::filesystem::absolute(*answer);
        if (!save) *answer = OpenedFileName(*answer, req.defaultExtension);
        // The classic dialogs leave the current directory at the picked file's folder.
        std::error_code ec;
        std::filesystem::current_path(answer->parent_path(), ec);
    }
    return answer;
}

std::optional<std::filesystem::path> HeadlessBackend::OpenFileDialog(const FileDialogRequest& req) {
    return FileDialog(false, req);
}

std::optional<std::filesystem::path> HeadlessBackend::SaveFileDialog(const FileDialogRequest& req) {
    return FileDialog(true, req);
}

void HeadlessBackend::ShowInFileManager(const std::filesystem::path& file) {
    shownInFileManager.push_back(file);
}

}  // namespace ostrova::platform::headless
