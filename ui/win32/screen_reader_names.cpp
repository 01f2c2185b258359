#include "ui/win32/screen_reader_names.h"

#include <algorithm>

#include "ui/win32/wide.h"

namespace ui::win32 {
namespace {

const window::DesignEntry* LabelNaming(const window::FormDesign& design, const std::string& name) {
    for (const window::DesignEntry& entry : design.controls) {
        if (entry.kind == window::ControlKind::Label && entry.buddy == name) return &entry;
    }
    return nullptr;
}

}  // namespace

std::vector<const window::DesignEntry*> CreationOrder(const window::FormDesign& design) {
    std::vector<const window::DesignEntry*> controls;
    std::vector<const window::DesignEntry*> looseLabels;
    for (const window::DesignEntry& entry : design.controls) {
        if (entry.kind != window::ControlKind::Label) {
            controls.push_back(&entry);
        } else if (entry.buddy.empty()) {
            looseLabels.push_back(&entry);
        }
    }
    std::stable_sort(controls.begin(), controls.end(),
                     [](const auto* a, const auto* b) { return a->tabIndex < b->tabIndex; });
    std::vector<const window::DesignEntry*> order;
    for (const window::DesignEntry* control : controls) {
        if (const window::DesignEntry* label = LabelNaming(design, control->name)) {
            order.push_back(label);
        }
        order.push_back(control);
    }
    order.insert(order.end(), looseLabels.begin(), looseLabels.end());
    return order;
}

ScreenReaderNames::ScreenReaderNames(const std::function<HWND(const std::string&)>& controlWindow) {
    // Already started on this thread in another mode is as good: only a start of ours is
    // ended here.
    const HRESULT started = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    comStarted_ = SUCCEEDED(started);
    if (FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IAccPropServices, reinterpret_cast<void**>(&services_)))) {
        // Without the service the controls keep the names their labels give.
        services_ = nullptr;
        return;
    }
    const window::FormDesign& design = window::Design();
    for (const window::DesignEntry& entry : design.controls) {
        if (entry.accessibleName.empty()) continue;
        const window::DesignEntry* label = LabelNaming(design, entry.name);
        if (label != nullptr && label->content == entry.accessibleName) continue;
        const HWND control = controlWindow(entry.name);
        // A system that does not take the name (some answer E_NOTIMPL) leaves the control
        // nameless, which is no reason to refuse the window.
        if (SUCCEEDED(services_->SetHwndPropStr(control, static_cast<DWORD>(OBJID_CLIENT),
                                                CHILDID_SELF, PROPID_ACC_NAME,
                                                Wide(entry.accessibleName).c_str()))) {
            named_.push_back(control);
        }
    }
}

ScreenReaderNames::~ScreenReaderNames() {
    if (services_ != nullptr) {
        MSAAPROPID name = PROPID_ACC_NAME;
        for (const HWND control : named_) {
            services_->ClearHwndProps(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                      &name, 1);
        }
        services_->Release();
    }
    if (comStarted_) CoUninitialize();
}

}  // namespace ui::win32
