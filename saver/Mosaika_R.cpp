#include "Mosaika_R.h"

#include <memory>

#include "CommandLine.h"
#include "resource.h"

namespace mosaika {

namespace {

// Created by SetUpPreview, alive until the process ends.
std::unique_ptr<Mosaika_R> previewWindow;

HWND WindowFromHandleValue(std::int32_t value) {
    // Window handles carry 32 significant bits and widen with their sign.
    return reinterpret_cast<HWND>(static_cast<INT_PTR>(value));
}

}  // namespace

Mosaika_R::Mosaika_R()
    // No caption or border, so the picture sits flush with the host's area.
    : Form(L"Preview Window", WS_POPUP | WS_CLIPCHILDREN),
      Img_Prev(forms::Picture::FromResource(IDR_PREVIEW_JPEG)) {
    SetBackColor(RGB(0, 0, 0));
    Img_Prev.Move(0, 0, 152, 112);
    AddControl(Img_Prev);
}

void SetUpPreview(const std::string& commandLine) {
    HWND host = WindowFromHandleValue(HostWindowHandle(commandLine));
    RECT hostRect{};
    if (!GetWindowRect(host, &hostRect)) hostRect = {};
    const int width = hostRect.right - hostRect.left;
    const int height = hostRect.bottom - hostRect.top;

    previewWindow = std::make_unique<Mosaika_R>();
    previewWindow->Load();
    HWND preview = previewWindow->Hwnd();
    SetWindowLongA(preview, GWL_STYLE, GetWindowLongA(preview, GWL_STYLE) | WS_CHILD);
    SetParent(preview, host);
    MoveWindow(preview, 0, 0, width, height, TRUE);
    previewWindow->Img_Prev.SetSize(width, height);
    previewWindow->Img_Prev.Move(0, 0, width, height);
    previewWindow->Show();
}

}  // namespace mosaika
