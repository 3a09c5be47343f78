#include "ComboBox.h"

#include "Twips.h"

namespace forms {

void ComboBox::Create(Form& parent, double left, double top, double width, double height) {
    const RECT rect = TwipsRect(left, top, width, height);
    // The list drops below the edit field: its height is the field plus room for the list.
    const int listHeight = (rect.bottom - rect.top) * 8;
    // The text scrolls in its field: without it the field takes no more than it can show.
    window_.reset(CreateWindowExW(0, L"COMBOBOX", L"",
                                  WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL,
                                  rect.left, rect.top, rect.right - rect.left, listHeight, parent.Hwnd(), nullptr,
                                  GetModuleHandleW(nullptr), nullptr));
}

void ComboBox::SetFont(std::shared_ptr<Font> font) {
    font_ = std::move(font);
    if (window_ && font_) SendMessageW(window_.get(), WM_SETFONT, reinterpret_cast<WPARAM>(font_->Handle()), TRUE);
}

void ComboBox::SetText(const std::wstring& text) { SetWindowTextW(window_.get(), text.c_str()); }

std::wstring ComboBox::Text() const {
    const int length = GetWindowTextLengthW(window_.get());
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(window_.get(), text.data(), length + 1);
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return text;
}

void ComboBox::AddItem(const std::wstring& item) {
    SendMessageW(window_.get(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
}

void ComboBox::SetAccessibleName(const std::wstring& name) {
    // A screen reader names a control by the static text just before it in Z
    // order, as in a dialog template. The visible label is drawn by the form
    // and has no window, so a static window of no size stands in for it.
    HWND parent = GetParent(window_.get());
    label_.reset(CreateWindowExW(0, L"STATIC", name.c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT, 0, 0, 0, 0, parent,
                                 nullptr, GetModuleHandleW(nullptr), nullptr));
    if (label_) SetWindowPos(window_.get(), label_.get(), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void ComboBox::SetEnabled(bool enabled) {
    if (!enabled) Form::PassFocusOn(window_.get());
    EnableWindow(window_.get(), enabled);
}

}  // namespace forms
