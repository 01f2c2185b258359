// The views of the simple controls: each is one standard control of the system (STATIC, EDIT,
// BUTTON) or, for the progress bar, a child window of ours, kept in step with its model
// control.
#pragma once

#include <windows.h>

#include "ui/win32/dispatcher.h"
#include "window/design.h"
#include "window/form1.h"

namespace ui::win32 {

// Sent to a view's parent when the view's control is shown or hidden.
inline constexpr UINT kShownOrHidden = WM_APP + 1;

// Where a view's control goes: its parent, its command identifier and its place in pixels.
struct Placement {
    HWND parent;
    int id;
    RECT pixels;
};

// One control on screen. The main window hands each view the messages about its control.
class View : public window::ControlObserver {
public:
    View() = default;
    ~View() override = default;
    View(const View&) = delete;
    View& operator=(const View&) = delete;

    HWND Handle() const { return handle_; }
    // A notification the control sent its parent (WM_COMMAND).
    virtual void Command(WORD) {}
    // WM_CTLCOLORSTATIC or WM_CTLCOLOREDIT: sets the colours of the text and returns the
    // brush for the background, or nullptr for the system's own.
    virtual HBRUSH Colors(HDC) { return nullptr; }
    // WM_DRAWITEM, for the owner-drawn lists.
    virtual void DrawItem(const DRAWITEMSTRUCT&) {}
    // Enter while the control has the focus; true if the control took it.
    virtual bool Enter() { return false; }

protected:
    HWND Create(const wchar_t* windowClass, DWORD style, DWORD extendedStyle,
                const Placement& placement, const window::Text& text = {});
    void ShowAs(bool visible) const;

private:
    HWND handle_ = nullptr;
};

// A brush of one colour, made again only when the colour changes.
class SolidBrush {
public:
    ~SolidBrush();
    HBRUSH For(window::Color color);

private:
    HBRUSH brush_ = nullptr;
    window::Color color_;
};

class LabelView : public View {
public:
    LabelView(window::Label& label, const window::DesignEntry& design, const Placement& placement);
    ~LabelView() override;
    void ControlChanged(const window::Control&) override;
    HBRUSH Colors(HDC dc) override;

private:
    window::Label& label_;
    const window::DesignEntry& design_;
    SolidBrush background_;
};

class TextBoxView : public View {
public:
    TextBoxView(window::TextBox& box, const window::DesignEntry& design, Dispatcher& dispatcher,
                const Placement& placement);
    ~TextBoxView() override;
    void ControlChanged(const window::Control&) override;
    void Command(WORD code) override;
    HBRUSH Colors(HDC dc) override;
    bool ReadOnly() const { return readOnly_; }

private:
    window::TextBox& box_;
    const window::DesignEntry& design_;
    Dispatcher& dispatcher_;
    bool readOnly_;
    bool settingText_ = false;
    SolidBrush background_;
};

class ButtonView : public View {
public:
    ButtonView(window::CommandButton& button, const window::DesignEntry& design,
               Dispatcher& dispatcher, const Placement& placement);
    ~ButtonView() override;
    void ControlChanged(const window::Control&) override;
    void Command(WORD code) override;

private:
    window::CommandButton& button_;
    Dispatcher& dispatcher_;
};

class PictureView : public View {
public:
    PictureView(window::PictureBox& picture, const Placement& placement);
    ~PictureView() override;
    void ControlChanged(const window::Control&) override;
    // Registers the window class that paints the boxes; once, before the first view.
    static void RegisterClass(HINSTANCE instance);

private:
    static LRESULT CALLBACK Procedure(HWND handle, UINT message, WPARAM w, LPARAM l);
    void Paint(HDC dc) const;

    window::PictureBox& picture_;
    // A run draws its bar every 10000 bytes, far more often than the screen is painted: the
    // picture is invalidated once until it is painted, so the run does not wait on the system.
    bool repaintAsked_ = false;
};

}  // namespace ui::win32
