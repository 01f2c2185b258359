// The window's host on Qt: the message box, and painting while a run holds the thread.
#pragma once

#include <QString>
#include <QWidget>

#include "window/host.h"

namespace ui::qt {

// The title every box of ours carries when the window passes none.
inline const QString kApplicationName = QStringLiteral("Tessomar");

class QtHost : public window::Host {
public:
    // The window message boxes are modal to; may be left unset until it exists.
    void SetWindow(QWidget* window) { window_ = window; }

    void ShowMessage(const window::Text& title, const window::Text& message) override;
    bool PaintDuringRun() override;

    // A close of the window that arrived while a handler was running; the window closes once
    // the handler has returned, and a run still going is told to stop.
    void RequestClose() { closeRequested_ = true; }
    bool CloseRequested() const { return closeRequested_; }

private:
    QWidget* window_ = nullptr;
    bool closeRequested_ = false;
};

}  // namespace ui::qt
