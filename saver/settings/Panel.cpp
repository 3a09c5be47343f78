#include "Panel.h"

namespace mosaika {

Panel::Panel() : Form(L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT) {
    SetAutoRedraw(true);
    SetBackColor(RGB(0xE0, 0xE0, 0xE0));
}

}  // namespace mosaika
