// A combo box over the platform's own: an edit field with a drop-down list,
// whose text can be set and read back, typed or chosen.
#pragma once

#include <memory>
#include <string>

#include "Font.h"
#include "Form.h"

namespace forms {

class ComboBox {
public:
    // Creates the control in the parent form's client area (twips).
    void Create(Form& parent, double left, double top, double width, double height);
    HWND Hwnd() const { return window_.get(); }

    void SetFont(std::shared_ptr<Font> font);
    void SetText(const std::wstring& text);
    std::wstring Text() const;
    void AddItem(const std::wstring& item);
    // The name a screen reader gives the box: the text of the label beside it.
    void SetAccessibleName(const std::wstring& name);
    void SetEnabled(bool enabled);

private:
    win32::UniqueWindow label_;  // before window_: destroyed after the box
    win32::UniqueWindow window_;
    std::shared_ptr<Font> font_;
};

}  // namespace forms
