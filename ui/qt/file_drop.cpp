#include "ui/qt/file_drop.h"

#include <QByteArray>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <optional>
#include <vector>

#include "platform/platform.h"
#include "ui/qt/main_window.h"
#include "window/open_from_outside.h"

namespace ui::qt {
namespace {

// The dropped local files' paths, or nothing if the drop is not only of local files. The
// path is taken from the address's own bytes, so a name that is not valid UTF-8 still leads
// to its file.
std::optional<std::vector<window::Text>> LocalPaths(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls()) return std::nullopt;
    std::vector<window::Text> paths;
    for (const QUrl& url : data->urls()) {
        if (!url.isLocalFile()) return std::nullopt;
        const QByteArray bytes =
            QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
        paths.push_back(platform::FromNative(bytes.toStdString()));
    }
    return paths;
}

class FileDropFilter : public QObject {
public:
    FileDropFilter(MainWindow& window, window::Form1& form)
        : QObject(&window), window_(window), form_(form) {}

protected:
    // Dragged files are the window's business wherever they are over it; other drags (text
    // between boxes) go on to the control under the pointer.
    bool eventFilter(QObject*, QEvent* event) override {
        const QEvent::Type type = event->type();
        if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop) {
            return false;
        }
        auto* drop = static_cast<QDropEvent*>(event);
        const std::optional<std::vector<window::Text>> paths = LocalPaths(drop->mimeData());
        if (!paths) return false;
        if (!window::TakesPathsFromOutside(form_)) {
            drop->ignore();
            return true;
        }
        drop->setDropAction(Qt::CopyAction);
        drop->accept();
        if (type == QEvent::Drop) {
            window_.Dispatch([this, &paths] { window::OpenFromOutside(form_, *paths); });
        }
        return true;
    }

private:
    MainWindow& window_;
    window::Form1& form_;
};

}  // namespace

void AcceptFileDrops(MainWindow& window, window::Form1& form) {
    auto* filter = new FileDropFilter(window, form);
    window.setAcceptDrops(true);
    window.installEventFilter(filter);
    for (QWidget* control : window.findChildren<QWidget*>()) control->installEventFilter(filter);
}

}  // namespace ui::qt
