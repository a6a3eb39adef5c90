#include "platform/win32/accessibility.h"

#include <oleacc.h>

#include <algorithm>

#include "platform/win32/backend.h"
#include "platform/win32/dialog_window.h"
#include "platform/win32/wide_text.h"

namespace ostrova::platform::win32 {
namespace {

// Defined here: the import library would make oleacc.dll load with the program.
constexpr CLSID kAccPropServicesClass = {
    0xb5f8350b, 0x0548, 0x48b1, {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};
constexpr IID kAccPropServicesInterface = {
    0x6e26e776, 0x04f0, 0x495d, {0x80, 0xe4, 0x33, 0x30, 0x35, 0x2e, 0x31, 0x69}};
constexpr MSAAPROPID kNameProperty = {
    0x608d3df8, 0x8128, 0x4aa7, {0xa4, 0x28, 0xf5, 0x5e, 0x49, 0x26, 0x72, 0x91}};

class AnnotationService : public AccessibleNameService {
public:
    AnnotationService() = default;
    AnnotationService(const AnnotationService&) = delete;
    AnnotationService& operator=(const AnnotationService&) = delete;
    ~AnnotationService() override {
        if (services_ != nullptr) services_->Release();
        if (comStarted_) CoUninitialize();
    }

    bool SetName(HWND window, const std::wstring& name) override {
        return Ready() && SUCCEEDED(services_->SetHwndPropStr(window, OBJID_CLIENT, CHILDID_SELF,
                                                              kNameProperty, name.c_str()));
    }

    void ClearName(HWND window) override {
        if (services_ != nullptr)
            services_->ClearHwndProps(window, OBJID_CLIENT, CHILDID_SELF, &kNameProperty, 1);
    }

private:
    // Tried once: without the service the program goes on unnamed.
    bool Ready() {
        if (tried_) return services_ != nullptr;
        tried_ = true;
        // S_FALSE (started already) is counted too; another threading model is no failure.
        comStarted_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
        void* services = nullptr;
        if (FAILED(CoCreateInstance(kAccPropServicesClass, nullptr, CLSCTX_INPROC_SERVER,
                                    kAccPropServicesInterface, &services)))
            return false;
        services_ = static_cast<IAccPropServices*>(services);
        return true;
    }

    IAccPropServices* services_ = nullptr;
    bool tried_ = false;
    bool comStarted_ = false;
};

}  // namespace

std::unique_ptr<AccessibleNameService> MakeAnnotationService() {
    return std::make_unique<AnnotationService>();
}

void DialogNames::NameAll(AccessibleNameService& service, const std::vector<ControlState>& controls,
                          const std::vector<HWND>& windows) {
    given_.assign(links_.size(), std::wstring());
    for (std::size_t i = 0; i < links_.size(); ++i) Name(i, service, controls, windows);
}

void DialogNames::LabelChanged(int index, AccessibleNameService& service,
                               const std::vector<ControlState>& controls,
                               const std::vector<HWND>& windows) {
    if (given_.empty()) return;
    for (std::size_t i = 0; i < links_.size(); ++i) {
        if (links_[i].label == index) Name(i, service, controls, windows);
    }
}

void DialogNames::ClearAll(AccessibleNameService& service) {
    for (const HWND window : named_) service.ClearName(window);
    named_.clear();
    given_.clear();
}

void DialogNames::Name(std::size_t link, AccessibleNameService& service,
                       const std::vector<ControlState>& controls,
                       const std::vector<HWND>& windows) {
    const AccessibleLink& l = links_[link];
    const auto control = static_cast<std::size_t>(l.control);
    if (control >= windows.size() || windows[control] == nullptr) return;
    std::wstring name;
    if (l.label >= 0) {
        // The label's text as it stands now, as the screen shows it.
        const ControlState& label = controls[static_cast<std::size_t>(l.label)];
        name = WideFromCp1252((label.style & kStyleNoPrefix) != 0 ? label.text
                                                                  : StripMnemonic(label.text));
    } else {
        // A Windows combo box's name is no entry of its list: a frame's caption names it.
        name = WideFromCp1252(!l.name.empty() ? l.name : l.description);
    }
    if (name == given_[link]) return;
    given_[link] = name;
    std::vector<HWND> targets{windows[control]};
    // The edit field of a drop-down combo box takes the focus, and readers ask it as well.
    if (controls[control].kind == ControlKind::ComboDropDown) {
        if (const HWND edit = GetWindow(windows[control], GW_CHILD)) targets.push_back(edit);
    }
    for (const HWND target : targets) {
        service.SetName(target, name);
        if (std::find(named_.begin(), named_.end(), target) == named_.end())
            named_.push_back(target);
    }
}

// The names serve screen readers only: they are given when one first asks a window of the
// dialog for its accessible object, or at once while one runs, so a start without a reader
// needs neither COM nor the accessibility library.
void DialogWindow::NameForReaders() {
    if (named_ || ended_) return;
    named_ = true;
    names_.NameAll(backend_.accessibleNames(), dlg_.controls(), controls_);
}

}  // namespace ostrova::platform::win32
