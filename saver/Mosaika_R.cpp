#include "Mosaika_R.h"

#include "resource.h"

namespace mosaika {

Mosaika_R::Mosaika_R()
    // No caption or border, so the picture sits flush with the host's area.
    : Form(L"Preview Window", WS_POPUP | WS_CLIPCHILDREN),
      Img_Prev(forms::Picture::FromResource(IDR_PREVIEW_JPEG)) {
    SetBackColor(RGB(0, 0, 0));
    Img_Prev.Move(0, 0, 152, 112);
    AddControl(Img_Prev);
}

}  // namespace mosaika
