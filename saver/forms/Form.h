// A form: one top-level (or embedded) window of the program, with the events
// Form_Load, Form_QueryUnload, Form_Unload and Form_Resize, millisecond timers
// whose ticks arrive through the message loop, and windowless controls drawn
// by the form above its background.
//
// The window procedure is written once here: it stores the form at
// WM_NCCREATE and forgets it at WM_NCDESTROY, so no message reaches a form
// that is half built or gone.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "UniqueHandle.h"
#include "Win32.h"

namespace forms {

class Form;

// Why a form is being unloaded, as Form_QueryUnload is told.
enum class UnloadMode { ControlMenu = 0, Code = 1, AppWindows = 2 };

// A millisecond timer owned by a form. Ticks arrive through the message loop,
// so they never overlap each other or the form's events.
class Timer {
public:
    Timer(Form& owner, UINT interval, bool enabled, std::function<void()> onTick);
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    UINT Interval() const { return interval_; }
    void SetInterval(UINT interval);

private:
    friend class Form;
    void Arm();
    void Tick();

    Form& owner_;
    UINT_PTR id_;
    UINT interval_;
    bool enabled_;
    std::function<void()> onTick_;
};

// Something the form draws itself, above its background: no window of its own.
class WindowlessControl {
public:
    virtual ~WindowlessControl() = default;
    virtual void Paint(HDC dc) = 0;
};

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

    HWND Hwnd() const { return window_.get(); }
    bool Loaded() const { return static_cast<bool>(window_); }

    void SetBackColor(COLORREF colour);
    void Refresh();

    // Forms whose windows exist; the program's message loop ends when none is left.
    static int LiveForms() { return liveForms_; }

protected:
    virtual void Form_Load() {}
    virtual void Form_QueryUnload(bool& /*cancel*/, UnloadMode /*mode*/) {}
    virtual void Form_Unload(bool& /*cancel*/) {}
    virtual void Form_Resize() {}

    // Paints the background colour, then every windowless control in order.
    virtual void Paint(HDC dc);
    // Messages a form wants before the defaults; return true when handled.
    virtual bool HandleMessage(UINT /*message*/, WPARAM /*wParam*/, LPARAM /*lParam*/, LRESULT& /*result*/) {
        return false;
    }

    void AddControl(WindowlessControl& control) { controls_.push_back(&control); }

private:
    friend class Timer;
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void Create();
    void OnDestroyed();

    static int liveForms_;

    std::wstring caption_;
    DWORD style_;
    DWORD exStyle_;
    UniqueWindow window_;
    UniqueBrush background_;
    COLORREF backColour_;
    bool unloading_ = false;
    std::vector<Timer*> timers_;
    std::vector<WindowlessControl*> controls_;
};

}  // namespace forms
