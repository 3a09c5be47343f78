#include "Command.h"

#include <array>

#include "Picture.h"
#include "SystemLibraries.h"
#include "win32/Text.h"
#include "Twips.h"
#include "resource.h"

namespace mosaika {

namespace {

constexpr double kCaptionHeightTwips = 195;

// The six skins, loaded once for every button.
const forms::Picture& SkinPicture(Skin skin) {
    static const std::array<forms::Picture, 6> skins = [] {
        std::array<forms::Picture, 6> loaded;
        for (const Skin each : kAllSkins) {
            const auto index = static_cast<std::size_t>(each);
            loaded[index] = forms::Picture::FromBitmapResource(IDB_SKIN_FIRST + static_cast<int>(index));
        }
        return loaded;
    }();
    return skins[static_cast<std::size_t>(skin)];
}

forms::MouseButton ButtonOf(UINT message) {
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
        return forms::MouseButton::Left;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
        return forms::MouseButton::Right;
    default:
        return forms::MouseButton::Middle;
    }
}

}  // namespace

Command::Command()
    : Form(L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS),
      TmrMouse(*this, 100, false,
               [this] {
                   // Any window under the pointer but the button's own counts as outside;
                   // the caption has no window, so it counts as inside.
                   POINT cursor{};
                   const bool outside = !GetCursorPos(&cursor) || WindowFromPoint(cursor) != Hwnd();
                   Apply(machine_.TimerTick(outside));
               }),
      properties_(machine_) {
    SetAutoRedraw(true);
    SetBackColor(GetSysColor(COLOR_BTNFACE));
    LblMsg.alignment = forms::Label::Alignment::Centre;
    AddControl(LblMsg);
}

void Command::Create(forms::Form& container, double left, double top, double width, double height,
                     const PropertyBag& design) {
    SetParentForm(container);
    Load();
    MoveTwips(left, top, width, height);
    // The container's font is the dialog's own, the FontDescription defaults.
    Apply(properties_.ReadProperties(design, forms::FontDescription{}));
    UpdateCaption();
}

void Command::Initialize() {
    Apply(machine_.Initialize());
    TmrMouse.SetInterval(100);
    TmrMouse.SetEnabled(true);
}

void Command::SetEnabled(bool enabled) {
    // Focus leaves first, so the button hears LostFocus while it still reacts.
    if (!enabled) forms::Form::PassFocusOn(Hwnd());
    Apply(properties_.LetEnabled(enabled));
    // Tab skips a disabled button.
    if (Hwnd()) EnableWindow(Hwnd(), enabled);
}

void Command::Apply(const PropertyEffects& effects) {
    for (const ButtonReaction& reaction : effects.reactions) Apply(reaction);
    UpdateCaption();
}

void Command::Apply(const ButtonReaction& reaction) {
    if (reaction.captionEnabled) LblMsg.enabled = *reaction.captionEnabled;
    if (reaction.draw) DrawFace(*reaction.draw, reaction.gradientReversed);
    if (reaction.captionEnabled && !reaction.draw) Refresh();
    if (reaction.click && Click) Click();
}

void Command::UpdateCaption() {
    LblMsg.caption = win32::FromUtf8(properties_.Caption());
    // The window's own text is the caption too: what a screen reader announces.
    if (Hwnd()) SetWindowTextW(Hwnd(), LblMsg.caption.c_str());
    if (!LblMsg.font || !(LblMsg.font->Description() == properties_.Font())) {
        LblMsg.font = forms::Font::Create(properties_.Font());
    }
    LblMsg.foreColour = properties_.FontColour();
    Refresh();
}

void Command::DrawFace(Skin skin, bool gradientReversed) {
    HDC face = RetainedSurface().Dc();
    if (!face) return;
    const double width = ScaleWidth();
    const double height = ScaleHeight();
    geometry_.Update(width, height);

    RetainedSurface().Clear(GetSysColor(COLOR_BTNFACE));
    FillGradient(gradientReversed);

    const forms::Picture& picture = SkinPicture(skin);
    // Declared in this order, the skin is selected out before its DC is deleted.
    const win32::UniqueMemoryDc skinDc(CreateCompatibleDC(face));
    const win32::SelectedObject selected(skinDc.get(), picture.Bitmap());
    SetStretchBltMode(face, COLORONCOLOR);
    for (const FacePiece& piece : geometry_.Pieces()) {
        const PixelRect to = TwipsToPixels(piece.destination, forms::DpiX(), forms::DpiY());
        const PixelRect from = SkinPixels(piece.source);
        if (picture && to.width > 0 && to.height > 0) {
            StretchBlt(face, to.left, to.top, to.width, to.height, skinDc.get(), from.left, from.top, from.width,
                       from.height, SRCCOPY);
        }
    }

    const CaptionPlacement caption = PlaceCaption(width, height, kCaptionHeightTwips);
    LblMsg.MoveTwips(caption.left, caption.top, caption.width, kCaptionHeightTwips);
    Refresh();
}

void Command::FillGradient(bool reversed) {
    forms::Surface& surface = RetainedSurface();
    const auto vertices = GradientVertices(reversed, surface.Width(), surface.Height());
    std::array<TRIVERTEX, 2> platform{};
    for (std::size_t i = 0; i < 2; ++i) {
        platform[i] = {vertices[i].x,   vertices[i].y,    vertices[i].red,
                       vertices[i].green, vertices[i].blue, vertices[i].alpha};
    }
    GRADIENT_RECT rect{0, 1};
    GradientFill(surface.Dc(), platform.data(), 2, &rect, 1, GRADIENT_FILL_RECT_V);
}

void Command::Form_Resize() { Apply(machine_.Resize()); }

void Command::OnMouseButton(UINT message) {
    const bool down = message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN;
    if (down) {
        // The press brings the focus; the release is heard wherever the pointer goes.
        if (GetFocus() != Hwnd() && machine_.Enabled()) SetFocus(Hwnd());
        SetCapture(Hwnd());
        Apply(machine_.MouseDown(ButtonOf(message)));
    } else {
        if (GetCapture() == Hwnd()) ReleaseCapture();
        Apply(machine_.MouseUp(ButtonOf(message)));
    }
}

bool Command::HandleMessage(UINT message, WPARAM /*wParam*/, LPARAM /*lParam*/, LRESULT& result) {
    result = 0;
    switch (message) {
    case WM_SETFOCUS:
        Apply(machine_.GotFocus());
        return true;
    case WM_KILLFOCUS:
        Apply(machine_.LostFocus());
        return true;
    case WM_MOUSEMOVE:
        Apply(machine_.MouseMove());
        return true;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
        OnMouseButton(message);
        return true;
    default:
        return false;
    }
}

}  // namespace mosaika
