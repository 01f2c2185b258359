// The window on screen: one standard control per control of Form1, placed and dressed from
// the design table at the screen's DPI, redrawn whenever the model changes.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ui/win32/dispatcher.h"
#include "ui/win32/screen_reader_names.h"
#include "ui/win32/simple_views.h"
#include "ui/win32/win32_host.h"
#include "window/design.h"
#include "window/form1.h"

namespace ui::win32 {

// The identifier of the system's control that shows the model's control of that name, by
// which a program outside this one (a test, an assistive tool) finds it among the window's
// children.
int ControlId(const std::string& name);

class MainWindow {
public:
    MainWindow(HINSTANCE instance, window::Form1& form, Win32Host& host);
    ~MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    HWND Handle() const { return handle_; }
    // The control that shows the model's control of that name, or nullptr.
    HWND ControlFor(const std::string& name) const;
    void Show(int how);
    // A file or folder from outside the window (the command line, a drop), as one reaction;
    // the window decides what it means in the stage it is in.
    void OpenFromOutside(const std::vector<window::Text>& paths);
    // Takes the keyboard messages the window itself handles (Tab, Enter); true if it did.
    bool PreTranslate(MSG& message);
    // Runs reactions until the window is closed; returns the program's exit code.
    int RunMessageLoop();

private:
    static LRESULT CALLBACK Procedure(HWND handle, UINT message, WPARAM w, LPARAM l);
    LRESULT Handle(UINT message, WPARAM w, LPARAM l);
    std::unique_ptr<View> MakeView(const window::DesignEntry& entry, const Placement& placement);
    int Pixels(int twips) const;
    RECT PixelsOf(const window::DesignEntry& entry) const;
    RECT FrameAt(int left, int top) const;
    void LayOut(const RECT& frame);
    void ClipOverlaps();
    int FolderRowHeight() const;
    void AddTips();
    void OnEnter();
    View* ViewFor(HWND control) const;
    const window::Control* ControlOf(HWND control) const;

    window::Form1& form_;
    Win32Host& host_;
    Dispatcher dispatcher_;
    HWND handle_ = nullptr;
    int dpi_ = 96;
    std::vector<HFONT> fonts_;
    // What each control has cut out of its place for the controls drawn above it.
    std::map<HWND, std::vector<RECT>> clipped_;
    std::map<std::string, std::unique_ptr<View>> views_;
    std::unique_ptr<ScreenReaderNames> screenReaderNames_;
};

}  // namespace ui::win32
