#include "Form.h"

#include <cwchar>
#include <utility>

#include "Twips.h"
#include "win32/WindowObject.h"

namespace forms {

namespace {

constexpr wchar_t kFormClass[] = L"MosaikaForm";

void RegisterFormClass(WNDPROC windowProc) {
    static const bool registered = [windowProc] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = windowProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
        windowClass.hIcon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1));
        windowClass.lpszClassName = kFormClass;
        return RegisterClassExW(&windowClass) != 0;
    }();
    (void)registered;
}

}  // namespace

int Form::liveForms_ = 0;

Form::Form(std::wstring caption, DWORD style, DWORD exStyle)
    : caption_(std::move(caption)), style_(style), exStyle_(exStyle), backColour_(GetSysColor(COLOR_WINDOW)) {}

Form::~Form() {
    // The derived form is gone already, so no message may reach this one: the
    // window is forgotten first, then destroyed and counted out here, as
    // WM_NCDESTROY counts out a window that goes while its form lives.
    if (!window_) return;
    SetWindowLongPtrW(window_.get(), GWLP_USERDATA, 0);
    window_.reset();
    WindowGone();
}

void Form::WindowGone() {
    // The program lives as long as one of its forms does.
    if (--liveForms_ == 0) PostQuitMessage(0);
}

void Form::Create() {
    RegisterFormClass(WindowProc);
    background_.reset(CreateSolidBrush(backColour_));
    const bool child = parent_ && parent_->Hwnd();
    const int position = child ? 0 : CW_USEDEFAULT;
    // A top-level form is created hidden (Show makes it visible); a child shows with its parent.
    const DWORD style = child ? style_ : style_ & ~DWORD{WS_VISIBLE};
    // The window handle is stored at WM_NCCREATE, before the first message is handled.
    CreateWindowExW(exStyle_, kFormClass, caption_.c_str(), style, position, position,
                    child ? 0 : CW_USEDEFAULT, child ? 0 : CW_USEDEFAULT, child ? parent_->Hwnd() : nullptr, nullptr,
                    GetModuleHandleW(nullptr), this);
    if (!window_) return;
    if (clientTwips_.cx > 0) SetClientSizeTwips(clientTwips_.cx, clientTwips_.cy);
    CreateChildWindows();
    OnResized();
    for (Timer* timer : timers_) timer->Arm();
}

void Form::Load() {
    if (window_) return;
    Create();
    if (window_) Form_Load();
}

void Form::Show() {
    Load();
    if (window_) ShowWindow(window_.get(), SW_SHOWNORMAL);
}

void Form::Unload(UnloadMode mode) {
    if (!window_ || unloading_) return;
    bool cancel = false;
    Form_QueryUnload(cancel, mode);
    if (cancel) return;
    Form_Unload(cancel);
    if (cancel) return;
    unloading_ = true;
    window_.reset();  // DestroyWindow
    unloading_ = false;
}

void Form::ShowModal() {
    Show();
    if (window_ && !tabOrder_.empty() && TabIndexOf(GetFocus()) < 0) RestoreFocus();
    MSG message;
    while (window_ && GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (HandleDialogKey(message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
        // Given back when the form is activated again (after the file chooser, say).
        const int focused = TabIndexOf(GetFocus());
        if (focused >= 0) lastFocus_ = tabOrder_[static_cast<std::size_t>(focused)];
    }
}

bool Form::HandleDialogKey(const MSG& message) {
    if (message.message != WM_KEYDOWN || !window_ || (message.wParam != VK_TAB && message.wParam != VK_ESCAPE)) {
        return false;
    }
    if (message.hwnd != window_.get() && !IsChild(window_.get(), message.hwnd)) return false;
    // A control that wants the key keeps it: an open drop-down list closes on Esc.
    MSG asked = message;
    const LRESULT wants =
        SendMessageW(message.hwnd, WM_GETDLGCODE, message.wParam, reinterpret_cast<LPARAM>(&asked));
    if (wants & (DLGC_WANTALLKEYS | DLGC_WANTMESSAGE)) return false;
    if (message.wParam == VK_ESCAPE) {
        if (!escapeUnloads_) return false;
        Unload();
        return true;
    }
    if (tabOrder_.empty() || (wants & DLGC_WANTTAB) || GetKeyState(VK_CONTROL) < 0) return false;
    FocusNext(TabIndexOf(GetFocus()), GetKeyState(VK_SHIFT) < 0 ? -1 : 1);
    return true;
}

// The place in the tab order of the window or of the control it is part of
// (a combo box's edit field); -1 when none.
int Form::TabIndexOf(HWND window) const {
    if (!window) return -1;
    for (std::size_t i = 0; i < tabOrder_.size(); ++i) {
        if (tabOrder_[i] == window || IsChild(tabOrder_[i], window)) return static_cast<int>(i);
    }
    return -1;
}

// Focuses the first control after `from` (or before it, step -1) that can
// take the focus, wrapping round; from -1 starts at either end. The control
// at `from` itself comes last, unless it is the one being disabled.
void Form::FocusNext(int from, int step, HWND leaving) {
    const int count = static_cast<int>(tabOrder_.size());
    if (from < 0) from = step > 0 ? -1 : count;
    for (int k = 1; k <= count; ++k) {
        HWND candidate = tabOrder_[static_cast<std::size_t>(((from + step * k) % count + count) % count)];
        const bool shown = (GetWindowLongW(candidate, GWL_STYLE) & WS_VISIBLE) != 0;
        if (candidate != leaving && shown && IsWindowEnabled(candidate)) {
            SetFocus(candidate);
            return;
        }
    }
    SetFocus(window_.get());  // none can: the form itself keeps the keys, Esc among them
}

void Form::RestoreFocus() {
    const int last = TabIndexOf(lastFocus_);
    if (last >= 0 && IsWindowEnabled(lastFocus_)) {
        SetFocus(lastFocus_);
    } else {
        FocusNext(last, 1);
    }
}

void Form::PassFocusOn(HWND control) {
    HWND focus = GetFocus();
    if (!control || !focus || (focus != control && !IsChild(control, focus))) return;
    HWND root = GetAncestor(control, GA_ROOT);
    wchar_t className[32] = {};
    GetClassNameW(root, className, 32);
    if (wcscmp(className, kFormClass) != 0) return;
    auto* form = reinterpret_cast<Form*>(GetWindowLongPtrW(root, GWLP_USERDATA));
    const int index = form ? form->TabIndexOf(control) : -1;
    if (index >= 0) form->FocusNext(index, 1, control);
}

void Form::SetClientSizeTwips(double width, double height) {
    clientTwips_ = {static_cast<LONG>(width), static_cast<LONG>(height)};
    if (!window_) return;
    RECT rect{0, 0, TwipsToPixelsX(width), TwipsToPixelsY(height)};
    AdjustWindowRectEx(&rect, static_cast<DWORD>(GetWindowLongW(window_.get(), GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongW(window_.get(), GWL_EXSTYLE)));
    SetWindowPos(window_.get(), nullptr, 0, 0, rect.right - rect.left, rect.bottom - rect.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::MoveTwips(double left, double top, double width, double height) {
    if (!window_) return;
    const RECT rect = TwipsRect(left, top, width, height);
    MoveWindow(window_.get(), rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
}

double Form::ScaleWidth() const {
    RECT client{};
    if (window_) GetClientRect(window_.get(), &client);
    return PixelsToTwipsX(client.right);
}

double Form::ScaleHeight() const {
    RECT client{};
    if (window_) GetClientRect(window_.get(), &client);
    return PixelsToTwipsY(client.bottom);
}

void Form::OnResized() {
    RECT client{};
    GetClientRect(window_.get(), &client);
    if (autoRedraw_) {
        surface_.Resize(client.right, client.bottom);
        surface_.Clear(backColour_);
    }
    Form_Resize();
    Refresh();
}

void Form::HitTestMouseDown(MouseButton button, POINT at) {
    // The topmost control under the pointer takes the press.
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        WindowlessControl* control = *it;
        const RECT bounds = control->Bounds();
        if (PtInRect(&bounds, at)) {
            if (control->MouseDown) control->MouseDown(button);
            return;
        }
    }
}

void Form::SetBackColor(COLORREF colour) {
    backColour_ = colour;
    background_.reset(CreateSolidBrush(colour));
    surface_.Clear(colour);
    Refresh();
}

void Form::Refresh() {
    if (window_) InvalidateRect(window_.get(), nullptr, FALSE);
}

void Form::Paint(HDC dc) {
    if (surface_) {
        surface_.ShowOn(dc);
    } else {
        RECT client;
        GetClientRect(window_.get(), &client);
        FillRect(dc, &client, background_.get());
    }
    for (WindowlessControl* control : controls_) control->Paint(dc);
}

void Form::OnDestroyed() {
    // Destroyed from outside (the parent went, or the system destroyed it):
    // the form still hears Form_Unload, but cannot refuse.
    if (!unloading_) {
        bool ignored = false;
        Form_Unload(ignored);
    }
}

LRESULT Form::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (HandleMessage(message, wParam, lParam, result)) return result;
    switch (message) {
    case WM_TIMER:
        for (Timer* timer : timers_) {
            if (timer->id_ == wParam) timer->Tick();
        }
        return 0;
    case WM_ERASEBKGND:
        return 1;  // WM_PAINT covers everything
    case WM_PAINT: {
        win32::PaintDc paint(window_.get());
        Paint(paint.get());
        return 0;
    }
    case WM_SIZE:
        OnResized();
        return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: {
        const MouseButton button = message == WM_LBUTTONDOWN   ? MouseButton::Left
                                   : message == WM_RBUTTONDOWN ? MouseButton::Right
                                                               : MouseButton::Middle;
        HitTestMouseDown(button, {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
        return 0;
    }
    case WM_ACTIVATE:
        if (tabOrder_.empty()) return DefWindowProcW(window_.get(), message, wParam, lParam);
        // Like a dialog: the control that last had the focus gets it back.
        if (LOWORD(wParam) != WA_INACTIVE && !HIWORD(wParam)) RestoreFocus();
        return 0;
    case WM_CLOSE:
        Unload(UnloadMode::ControlMenu);
        return 0;
    case WM_DESTROY:
        OnDestroyed();
        return 0;
    default:
        return DefWindowProcW(window_.get(), message, wParam, lParam);
    }
}

LRESULT CALLBACK Form::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* form = win32::WindowObject<Form>(window, message, lParam);
    if (message == WM_NCCREATE) {
        form->window_.reset(window);
        ++liveForms_;
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        if (form) {
            form->window_.release();  // already being destroyed
            WindowGone();
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }
    if (!form) return DefWindowProcW(window, message, wParam, lParam);
    return form->OnMessage(message, wParam, lParam);
}

}  // namespace forms
