#include "window/walk.h"

#include <algorithm>

namespace window {

bool PickFile(Form1& form, const Text& name) {
    const auto& names = form.File1.Names();
    const auto found = std::find(names.begin(), names.end(), name);
    if (found == names.end()) return false;
    form.File1.Select(static_cast<int>(found - names.begin()));
    form.File1.DblClick();
    return true;
}

bool WalkToPassword(Form1& form, const Text& source, const Text& destination) {
    if (!PickFile(form, source)) return false;
    if (!destination.empty()) form.DestFile.SetText(destination);
    form.go.Click();
    return form.Label1.Caption() == u"Enter Password";
}

}  // namespace window
