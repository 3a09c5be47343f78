// The mouse buttons as the program's windows and the button control report
// them. Platform-free: the button's state machine takes it too.
#pragma once

#include <cstdint>

namespace forms {

enum class MouseButton : std::uint8_t { Left = 1, Right = 2, Middle = 4 };

}  // namespace forms
