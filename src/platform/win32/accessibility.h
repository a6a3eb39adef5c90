// Names for screen readers. Windows names an edit or a combo box after the label just before it
// in template order, and most of our labels come after their fields: every edit and combo box
// gets the name the shared rule gives it (platform/accessible_names.h), through the
// accessibility annotation service, and a new one when the label that names it changes.
#pragma once

#include "platform/win32/windows_api.h"

#include <memory>
#include <string>
#include <vector>

#include "platform/accessible_names.h"
#include "platform/framework.h"

namespace ostrova::platform::win32 {

// Where the names go: oleacc's annotation service, or a test's recorder.
class AccessibleNameService {
public:
    virtual ~AccessibleNameService() = default;
    // False when the service did not take the name; the window works the same either way.
    virtual bool SetName(HWND window, const std::wstring& name) = 0;
    virtual void ClearName(HWND window) = 0;
};

// IAccPropServices from oleacc.dll, with COM started on this thread at the first name.
std::unique_ptr<AccessibleNameService> MakeAnnotationService();

// The names of one dialog's edits and combo boxes.
class DialogNames {
public:
    explicit DialogNames(const DialogTemplate& tpl) : links_(AccessibleLinks(tpl)) {}

    // Names every linked control; `windows` are the controls in template order.
    void NameAll(AccessibleNameService& service, const std::vector<ControlState>& controls,
                 const std::vector<HWND>& windows);
    // Label `index` may show a new text: renames what it names (nothing before NameAll).
    void LabelChanged(int index, AccessibleNameService& service,
                      const std::vector<ControlState>& controls, const std::vector<HWND>& windows);
    // Takes the names back from windows about to go.
    void ClearAll(AccessibleNameService& service);

private:
    void Name(std::size_t link, AccessibleNameService& service,
              const std::vector<ControlState>& controls, const std::vector<HWND>& windows);

    std::vector<AccessibleLink> links_;
    std::vector<std::wstring> given_;  // per link: the name handed over last
    std::vector<HWND> named_;          // every window handed a name
};

}  // namespace ostrova::platform::win32
