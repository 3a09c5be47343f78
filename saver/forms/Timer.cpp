#include "Timer.h"

#include <utility>

#include "Form.h"

namespace forms {

Timer::Timer(Form& owner, UINT interval, bool enabled, std::function<void()> onTick)
    : owner_(owner),
      id_(owner.timers_.size() + 1),
      interval_(interval),
      enabled_(enabled),
      onTick_(std::move(onTick)) {
    owner.timers_.push_back(this);
    Arm();
}

void Timer::SetEnabled(bool enabled) {
    enabled_ = enabled;
    Arm();
}

void Timer::SetInterval(UINT interval) {
    interval_ = interval;
    Arm();
}

void Timer::Arm() {
    HWND window = owner_.Hwnd();
    if (!window) return;  // armed when the window is created
    if (enabled_ && interval_ > 0) {
        SetTimer(window, id_, interval_, nullptr);
    } else {
        KillTimer(window, id_);
    }
}

void Timer::Tick() {
    if (enabled_ && onTick_) onTick_();
}

}  // namespace forms
