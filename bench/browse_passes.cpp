#include "browse_passes.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <algorithm>
#include <stdexcept>
#include <string>

#include "platform/platform.h"
#include "remembered/remembered_folder.h"
#include "ui/qt/main_window.h"
#include "ui/qt/qt_host.h"
#include "window/form1.h"

namespace bench {
namespace {

constexpr char16_t kMask[] = u"*.txt";

void Check(bool holds, const BrowseFolder& folder, const char* what) {
    if (!holds) throw std::runtime_error(folder.title + ": " + what);
}

void CheckLoaded(const window::Form1& form, const BrowseFolder& folder) {
    Check(form.Dir1.Path() == platform::FromNative(folder.path.native()), folder,
          "the window did not open the folder");
    Check(form.File1.Names().size() == folder.files, folder, "the file list is not filled");
}

std::size_t EntryOf(const window::DirListBox& folders, const window::Text& path) {
    const auto& entries = folders.Entries();
    const auto found = std::find_if(entries.begin(), entries.end(),
                                    [&](const auto& entry) { return entry.path == path; });
    if (found == entries.end()) throw std::runtime_error("the folder list lost a folder");
    return static_cast<std::size_t>(found - entries.begin());
}

// Out to the parent and back in, each the way a user opens an entry of the folder list;
// settle runs after each, inside the timing.
template <typename Open, typename Settle>
void ChangeFolders(window::Form1& form, const BrowseFolder& folder, BrowsePass& pass, Open open,
                   Settle settle) {
    const window::Text path = form.Dir1.Path();
    pass.out = Time([&] {
        open(static_cast<std::size_t>(form.Dir1.ListIndex() - 1));
        settle();
    });
    const std::size_t back = EntryOf(form.Dir1, path);
    pass.into = Time([&] {
        open(back);
        settle();
    });
    CheckLoaded(form, folder);
}

}  // namespace

BrowsePass BrowseModel(const BrowseFolder& folder) {
    ui::qt::QtHost host;  // nothing is asked of it while browsing
    const remembered::RememberedFolder remembered(platform::FromNative(folder.state.native()));
    window::Form1 form(host, remembered);
    BrowsePass pass;
    pass.load = Time([&] { form.Load(); });
    CheckLoaded(form, folder);
    ChangeFolders(
        form, folder, pass, [&](std::size_t entry) { form.Dir1.OpenEntry(entry); }, [] {});
    window::Text typed;
    for (const char16_t unit : std::u16string_view(kMask)) {
        typed += unit;
        pass.keystrokes.push_back(Time([&] { form.filemask.SetText(typed); }));
    }
    Check(form.File1.Names().size() == folder.textFiles, folder, "the mask did not filter");
    return pass;
}

BrowsePass BrowseQtWindow(const BrowseFolder& folder) {
    ui::qt::QtHost host;
    const remembered::RememberedFolder remembered(platform::FromNative(folder.state.native()));
    window::Form1 form(host, remembered);
    ui::qt::MainWindow window(form, host);
    BrowsePass pass;
    pass.load = Time([&] {
        form.Load();
        window.show();
        QApplication::processEvents();
    });
    CheckLoaded(form, folder);
    ChangeFolders(
        form, folder, pass,
        [&](std::size_t entry) { window.Dispatch([&] { form.Dir1.OpenEntry(entry); }); },
        [] { QApplication::processEvents(); });

    auto* mask = qobject_cast<QLineEdit*>(window.WidgetFor("filemask"));
    if (mask == nullptr) throw std::runtime_error("the mask is not a line edit");
    mask->selectAll();
    for (const char16_t unit : std::u16string_view(kMask)) {
        const QString text(QChar{unit});
        const int key = QChar(unit).toUpper().unicode();  // Qt's key codes for ASCII
        pass.keystrokes.push_back(Time([&] {
            QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
            QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
            QApplication::sendEvent(mask, &press);
            QApplication::sendEvent(mask, &release);
            QApplication::processEvents();
        }));
    }
    Check(form.filemask.GetText() == kMask, folder, "the mask was not typed");
    Check(form.File1.Names().size() == folder.textFiles, folder, "the mask did not filter");
    return pass;
}

}  // namespace bench
