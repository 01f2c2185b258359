#include "ui/win32/screen_reader_names.h"

#include <commctrl.h>
#include <oleacc.h>

#include "ui/win32/wide.h"

namespace ui::win32 {
namespace {

constexpr UINT_PTR kAnswerSubclass = 1;

const window::DesignEntry* LabelNaming(const window::FormDesign& design, const std::string& name) {
    for (const window::DesignEntry& entry : design.controls) {
        if (entry.kind == window::ControlKind::Label && entry.buddy == name) return &entry;
    }
    return nullptr;
}

long RoleOf(window::ControlKind kind) {
    using Kind = window::ControlKind;
    switch (kind) {
        case Kind::Label:
            return ROLE_SYSTEM_STATICTEXT;
        case Kind::TextBox:
            return ROLE_SYSTEM_TEXT;
        case Kind::CommandButton:
            return ROLE_SYSTEM_PUSHBUTTON;
        case Kind::DriveListBox:
            return ROLE_SYSTEM_COMBOBOX;
        case Kind::DirListBox:
        case Kind::FileListBox:
            return ROLE_SYSTEM_LIST;
        case Kind::PictureBox:
            return ROLE_SYSTEM_PROGRESSBAR;
    }
    return ROLE_SYSTEM_CLIENT;
}

bool IsSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

// The system's own accessible object of a control, with the control's name and role its own,
// and for a list the names of its rows: the system names the rows only of a list that keeps
// strings, and the folder and file lists draw theirs from the model and answer for them
// (LB_GETTEXT). Everything else (value, state, children) is the system's answer.
class NamedAccessible final : public IAccessible {
public:
    NamedAccessible(IAccessible* standard, HWND control, const ScreenReaderIdentity& identity)
        : standard_(standard), control_(control), identity_(identity) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
        if (object == nullptr) return E_POINTER;
        *object = nullptr;
        if (id == __uuidof(IUnknown) || id == __uuidof(IDispatch) || id == __uuidof(IAccessible)) {
            *object = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        // The window and the children it enumerates are the system object's; anything else
        // (how the object is marshalled among them) must be ours, or a client would be handed
        // the system's object without the names.
        if (id == __uuidof(IOleWindow) || id == __uuidof(IEnumVARIANT))
            return standard_->QueryInterface(id, object);
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        return standard_->GetTypeInfoCount(count);
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override {
        return standard_->GetTypeInfo(index, locale, info);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID id, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) override {
        return standard_->GetIDsOfNames(id, names, count, locale, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID id, LCID locale, WORD flags,
                                     DISPPARAMS* parameters, VARIANT* result, EXCEPINFO* exception,
                                     UINT* wrongArgument) override {
        return standard_->Invoke(member, id, locale, flags, parameters, result, exception,
                                 wrongArgument);
    }

    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        if (identity_.role == ROLE_SYSTEM_LIST && child.vt == VT_I4 && child.lVal > 0) {
            return RowName(child.lVal - 1, name);
        }
        if (!IsSelf(child) || identity_.name.empty()) return standard_->get_accName(child, name);
        if (name == nullptr) return E_INVALIDARG;
        *name = SysAllocString(identity_.name.c_str());
        return *name != nullptr ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        if (!IsSelf(child)) return standard_->get_accRole(child, role);
        if (role == nullptr) return E_INVALIDARG;
        VariantInit(role);
        role->vt = VT_I4;
        role->lVal = identity_.role;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        return standard_->get_accParent(parent);
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
        return standard_->get_accChildCount(count);
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
        return standard_->get_accChild(child, object);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        return standard_->get_accValue(child, value);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
        return standard_->get_accDescription(child, text);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        return standard_->get_accState(child, state);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
        return standard_->get_accHelp(child, help);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override {
        return standard_->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
        return standard_->get_accKeyboardShortcut(child, shortcut);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override {
        return standard_->get_accFocus(child);
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override {
        return standard_->get_accSelection(children);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        return standard_->get_accDefaultAction(child, action);
    }
    HRESULT STDMETHODCALLTYPE accSelect(LONG how, VARIANT child) override {
        return standard_->accSelect(how, child);
    }
    HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                          VARIANT child) override {
        return standard_->accLocation(left, top, width, height, child);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
        return standard_->accNavigate(direction, start, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG left, LONG top, VARIANT* child) override {
        return standard_->accHitTest(left, top, child);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        return standard_->accDoDefaultAction(child);
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
        return standard_->put_accName(child, name);
    }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
        return standard_->put_accValue(child, value);
    }

private:
    ~NamedAccessible() { standard_->Release(); }

    HRESULT RowName(LONG row, BSTR* name) const {
        if (name == nullptr) return E_INVALIDARG;
        const LRESULT length = SendMessageW(control_, LB_GETTEXTLEN, static_cast<WPARAM>(row), 0);
        if (length == LB_ERR) return E_INVALIDARG;
        std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
        SendMessageW(control_, LB_GETTEXT, static_cast<WPARAM>(row),
                     reinterpret_cast<LPARAM>(text.data()));
        *name = SysAllocStringLen(text.data(), static_cast<UINT>(length));
        return *name != nullptr ? S_OK : E_OUTOFMEMORY;
    }

    IAccessible* standard_;
    HWND control_;
    ScreenReaderIdentity identity_;
    ULONG references_ = 1;
};

}  // namespace

std::vector<const window::DesignEntry*> CreationOrder(const window::FormDesign& design) {
    std::vector<const window::DesignEntry*> order;
    for (const window::DesignEntry* control : window::TabOrder()) {
        if (const window::DesignEntry* label = LabelNaming(design, control->name)) {
            order.push_back(label);
        }
        order.push_back(control);
    }
    for (const window::DesignEntry& entry : design.controls) {
        const bool takesNoFocus = entry.kind == window::ControlKind::PictureBox ||
                                  (entry.kind == window::ControlKind::Label && entry.buddy.empty());
        if (takesNoFocus) order.push_back(&entry);
    }
    return order;
}

// Buttons speak their captions, boxes the name the design gives them, labels whatever they
// show at the moment.
ScreenReaderIdentity IdentityFor(const window::DesignEntry& entry) {
    const window::Text& name =
        entry.kind == window::ControlKind::CommandButton ? entry.content : entry.accessibleName;
    return {Wide(name), RoleOf(entry.kind)};
}

ScreenReaderNames::ScreenReaderNames(const std::function<HWND(const std::string&)>& controlWindow) {
    // The accessible objects are handed over through COM. Already started on this thread in
    // another mode is as good: only a start of ours is ended here.
    comStarted_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    for (const window::DesignEntry& entry : window::Design().controls) {
        auto answering =
            std::make_unique<Answering>(Answering{controlWindow(entry.name), IdentityFor(entry)});
        if (SetWindowSubclass(answering->control, Answer, kAnswerSubclass,
                              reinterpret_cast<DWORD_PTR>(answering.get()))) {
            answering_.push_back(std::move(answering));
        }
    }
}

ScreenReaderNames::~ScreenReaderNames() {
    for (const auto& answering : answering_) {
        RemoveWindowSubclass(answering->control, Answer, kAnswerSubclass);
    }
    if (comStarted_) CoUninitialize();
}

LRESULT CALLBACK ScreenReaderNames::Answer(HWND control, UINT message, WPARAM w, LPARAM l, UINT_PTR,
                                           DWORD_PTR answering) {
    if (message == WM_GETOBJECT && static_cast<LONG>(l) == static_cast<LONG>(OBJID_CLIENT)) {
        IAccessible* standard = nullptr;
        // Made without asking the control, so this answer is not asked for again.
        if (SUCCEEDED(CreateStdAccessibleObject(control, OBJID_CLIENT, __uuidof(IAccessible),
                                                reinterpret_cast<void**>(&standard)))) {
            auto* named = new NamedAccessible(
                standard, control, reinterpret_cast<const Answering*>(answering)->identity);
            const LRESULT result = LresultFromObject(__uuidof(IAccessible), w, named);
            named->Release();
            if (SUCCEEDED(static_cast<HRESULT>(result))) return result;
        }
    }
    return DefSubclassProc(control, message, w, l);
}

}  // namespace ui::win32
