// The window's host on Qt: the message box, painting while a run holds the thread, the
// focus and the close, each when the window asks for it.
#pragma once

#include <QString>
#include <QWidget>

#include "window/host.h"

namespace ui::qt {

inline const QString kApplicationName =
    QString::fromUtf16(window::kApplicationName.data(), window::kApplicationName.size());

class QtHost : public window::Host {
public:
    // The window whose widgets this host serves; may be left unset until it exists.
    void SetWindow(QWidget* window) { window_ = window; }

    void ShowMessage(const window::Text& title, const window::Text& message) override;
    void PaintDuringRun() override;
    void SetFocus(const window::Control& control) override;
    void CloseWindow() override;
    std::chrono::milliseconds DoubleClickTime() const override;

private:
    QWidget* window_ = nullptr;
};

}  // namespace ui::qt
