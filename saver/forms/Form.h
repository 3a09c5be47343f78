// A form: one top-level (or embedded) window of the program, with the events
// Form_Load, Form_QueryUnload, Form_Unload and Form_Resize, millisecond timers
// whose ticks arrive through the message loop, and windowless controls drawn
// by the form above its background.
//
// The window procedure is written once here: it stores the form at
// WM_NCCREATE and forgets it at WM_NCDESTROY, so no message reaches a form
// that is half built or gone.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "MouseButton.h"
#include "Surface.h"
#include "Timer.h"
#include "win32/UniqueHandle.h"
#include "win32/Win32.h"
#include "WindowlessControl.h"

namespace forms {

// Why a form is being unloaded, as Form_QueryUnload is told.
enum class UnloadMode { ControlMenu = 0, Code = 1, AppWindows = 2 };

class Form {
public:
    Form(std::wstring caption, DWORD style, DWORD exStyle = 0);
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    // Creates the window hidden (once) and runs Form_Load.
    void Load();
    // Loads the form if needed and makes it visible.
    void Show();
    // Asks Form_QueryUnload and Form_Unload, then destroys the window unless cancelled.
    void Unload(UnloadMode mode = UnloadMode::Code);

    // Shows the form and runs its own message loop until it is unloaded.
    void ShowModal();

    HWND Hwnd() const { return window_.get(); }
    bool Loaded() const { return static_cast<bool>(window_); }

    // A windowless control the form draws above its background and hit-tests.
    void AddControl(WindowlessControl& control) { controls_.push_back(&control); }

    // Makes this form a child window of parent (set before Load).
    void SetParentForm(Form& parent) { parent_ = &parent; }
    // The client area's size in twips; the window keeps its position.
    void SetClientSizeTwips(double width, double height);
    void MoveTwips(double left, double top, double width, double height);
    // Client width and height in twips.
    double ScaleWidth() const;
    double ScaleHeight() const;

    // With auto-redraw on, the form keeps a retained image of its client area
    // that drawing goes into and that every repaint shows (resized with the window).
    void SetAutoRedraw(bool on) { autoRedraw_ = on; }
    Surface& RetainedSurface() { return surface_; }

    void SetBackColor(COLORREF colour);
    void Refresh();

    // Keyboard use as in a dialog, for a form shown modally: the windows that
    // take the focus in tab order (they may lie inside child forms). The first
    // enabled one takes the focus when the form is activated; Tab and
    // Shift+Tab move through the enabled ones, wrapping round.
    void SetTabOrder(std::vector<HWND> windows) { tabOrder_ = std::move(windows); }
    // Esc unloads the form, as a cancel button would.
    void SetEscapeUnloads(bool on) { escapeUnloads_ = on; }
    // Called before a control is disabled: if it holds the focus, the next
    // enabled control in its top-level form's tab order takes it, so the
    // keyboard never goes dead.
    static void PassFocusOn(HWND control);

    // Forms whose windows exist; the program's message loop ends when none is left.
    static int LiveForms() { return liveForms_; }

protected:
    // Creates the form's child windows, right after its own window and before Form_Load.
    virtual void CreateChildWindows() {}
    virtual void Form_Load() {}
    virtual void Form_QueryUnload(bool& /*cancel*/, UnloadMode /*mode*/) {}
    virtual void Form_Unload(bool& /*cancel*/) {}
    virtual void Form_Resize() {}

    // Paints the retained surface, then every windowless control in order.
    virtual void Paint(HDC dc);
    // Messages a form wants before the defaults; return true when handled.
    virtual bool HandleMessage(UINT /*message*/, WPARAM /*wParam*/, LPARAM /*lParam*/, LRESULT& /*result*/) {
        return false;
    }

private:
    friend class Timer;
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void Create();
    void OnDestroyed();
    // Counts a form's window out; the last one ends the program's message loop.
    static void WindowGone();
    void OnResized();
    void HitTestMouseDown(MouseButton button, POINT at);
    bool HandleDialogKey(const MSG& message);
    int TabIndexOf(HWND window) const;
    void FocusNext(int from, int step, HWND leaving = nullptr);
    void RestoreFocus();

    static int liveForms_;

    std::wstring caption_;
    DWORD style_;
    DWORD exStyle_;
    win32::UniqueWindow window_;
    win32::UniqueBrush background_;
    COLORREF backColour_;
    bool unloading_ = false;
    Form* parent_ = nullptr;
    bool autoRedraw_ = false;
    Surface surface_;
    SIZE clientTwips_{};
    std::vector<Timer*> timers_;
    std::vector<WindowlessControl*> controls_;
    std::vector<HWND> tabOrder_;
    HWND lastFocus_ = nullptr;
    bool escapeUnloads_ = false;
};

}  // namespace forms
