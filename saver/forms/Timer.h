// A millisecond timer owned by a form. Ticks arrive through the message loop,
// so they never overlap each other or the form's events.
#pragma once

#include <functional>

#include "win32/Win32.h"

namespace forms {

class Form;

class Timer {
public:
    Timer(Form& owner, UINT interval, bool enabled, std::function<void()> onTick);
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
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

}  // namespace forms
