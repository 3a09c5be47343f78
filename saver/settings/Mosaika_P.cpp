#include "Mosaika_P.h"

#include <commdlg.h>
#include <shellapi.h>

#include <cmath>
#include <functional>
#include <optional>
#include <string>

#include "Application.h"
#include "Paths.h"
#include "SettingsRules.h"
#include "SettingsStore.h"
#include "win32/Text.h"
#include "Twips.h"
#include "resource.h"

#ifndef MOSAIKA_HOME_PAGE
#define MOSAIKA_HOME_PAGE "https://example.com/"
#endif

namespace mosaika {

namespace {

constexpr double kClientWidth = 7185;
constexpr double kClientHeight = 3780;

// The design store the dialog keeps for each button: caption and font only.
PropertyBag ButtonDesign(const char* utf8Caption) {
    return {{"caption", utf8Caption}, {"font", forms::FontDescription{}}};
}

// Paints one band colour per pixel row, each the colour of the scale line
// that falls on that row: the first row takes line 0 and the last row the
// bottom line, so both edges show their exact colours at any DPI.
void PaintBands(forms::Form& form, BandSurface surface) {
    forms::Surface& image = form.RetainedSurface();
    const std::vector<Rgb> lines = BandColours(surface, form.ScaleHeight());
    const int rows = image.Height();
    if (lines.empty() || rows <= 0) return;
    const double step = rows > 1 ? static_cast<double>(lines.size() - 1) / (rows - 1) : 0.0;
    for (int row = 0; row < rows; ++row) {
        const auto line = static_cast<std::size_t>(std::lround(row * step));
        const Rgb colour = lines[std::min(line, lines.size() - 1)];
        image.HorizontalLine(row, RGB(colour.red, colour.green, colour.blue));
    }
    form.Refresh();
}

void AnimateCaption(HWND window, const RECT& from, const RECT& to) {
    DrawAnimatedRects(window, IDANI_CAPTION, &from, &to);
}

// The Shift-JIS form of the file's short (8.3) path; absent where the volume
// has no short names, the file does not exist, or Shift-JIS cannot spell it.
std::optional<std::string> ShortPathBytes(const std::wstring& path) {
    const std::wstring shortPath = forms::ShortPathOf(path);
    if (shortPath.empty()) return std::nullopt;
    return win32::ToCp932(shortPath);
}

// The name the user knows a stored file by: a short path, stored because
// Shift-JIS cannot spell the full one, is shown by its full long name.
std::wstring DisplayName(const std::string& bgmFile) {
    const std::wstring path = win32::FromCp932(bgmFile);
    if (path.find(L'~') == std::wstring::npos) return path;
    const std::wstring longPath = forms::LongPathOf(path);
    return longPath.empty() ? path : longPath;
}

}  // namespace

// The dialog: its events, then the handlers of its controls.

Mosaika_P::Mosaika_P(MusicSettings& settings)
    : Form(L"<モザイカ図>", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT),
      settings_(settings) {
    SetAutoRedraw(true);
    SetBackColor(RGB(0xC0, 0xC0, 0xC0));
    SetClientSizeTwips(kClientWidth, kClientHeight);
    Img_Ra[0] = forms::Picture::FromBitmapResource(IDB_INDICATOR_UNSELECTED);
    Img_Ra[1] = forms::Picture::FromBitmapResource(IDB_INDICATOR_SELECTED);
    Pic_C.SetParentForm(*this);
    Pic_C.onResize = [this] { PaintBands(Pic_C, BandSurface::Panel); };
}

void Mosaika_P::CreateChildWindows() {
    font_ = forms::Font::Create(forms::FontDescription{});

    Pic_C.Load();
    Pic_C.MoveTwips(180, 240, 6795, 2535);

    // The labels in drawing order, each in its container, at its twips.
    struct LabelRow {
        forms::Form& container;
        forms::Label& label;
        double left, top, width, height;
        const wchar_t* caption;
    };
    Shape3.MoveTwips(300, 300, 1695, 315);
    Pic_C.AddControl(Shape3);
    const LabelRow labels[] = {
        {Pic_C, lbl[15], 300, 360, 1665, 195, L"BGM"},
        {Pic_C, lbl_BGM[1], 540, 840, 645, 195, L"音楽CD"},
        {Pic_C, lbl[14], 2040, 840, 990, 195, L"曲目をﾘﾋﾟｰﾄ"},
        {Pic_C, lbl_BGM[0], 540, 1140, 345, 195, L"無し"},
        {Pic_C, lbl_BGM[2], 540, 1440, 900, 195, L"MP3、WAV"},
        {Pic_C, lbl_Fname, 1020, 1740, 5355, 435, L""},
        // Short enough to stay within its label, clear of その他の作品 beside it.
        {*this, lbl[7], 180, 2940, 2475, 195, L"モザイカ図 Version 1.00"},
    };
    for (const LabelRow& row : labels) {
        row.label.caption = row.caption;
        row.label.font = font_;
        row.label.MoveTwips(row.left, row.top, row.width, row.height);
        row.container.AddControl(row.label);
    }
    lbl[15].alignment = forms::Label::Alignment::Centre;
    lbl[7].foreColour = RGB(255, 255, 255);

    // The source indicators, in the rows of their labels: none, audio CD, file.
    const double indicatorTops[3] = {1140, 840, 1440};
    for (int i = 0; i < 3; ++i) {
        forms::Image& indicator = Img_BGM[static_cast<std::size_t>(i)];
        indicator.MoveTwips(300, indicatorTops[i], 195, 195);
        indicator.scaleWithDpi = true;
        // Any mouse button pressed over an indicator or its label chooses that source.
        const auto choose = [this, i](forms::MouseButton) { SelectMusicSource(i); };
        indicator.MouseDown = choose;
        lbl_BGM[static_cast<std::size_t>(i)].MouseDown = choose;
        Pic_C.AddControl(indicator);
    }

    BGM_Repeat.Create(Pic_C, 1380, 780, 615, 300);
    BGM_Repeat.SetFont(font_);
    BGM_Repeat.SetAccessibleName(L"曲目をﾘﾋﾟｰﾄ");

    // The buttons, each in its container, at its twips, with its caption and what a click does.
    struct ButtonRow {
        forms::Form& container;
        Command& button;
        double left, top, width, height;
        const char* caption;
        std::function<void()> click;
    };
    const ButtonRow buttons[] = {
        {Pic_C, Cmd_BGM, 540, 1740, 435, 315, "...", [this] { ChooseMusicFile(); }},
        {*this, Cmd_Etc, 2880, 3000, 1875, 375, "その他の作品", [this] { OpenHomePage(); }},
        {*this, Cmd_Set, 4800, 3000, 1095, 375, "設定", [this] { SaveAndClose(); }},
        {*this, Cmd_Can, 5940, 3000, 1035, 375, "ｷｬﾝｾﾙ", [this] { Unload(); }},
    };
    for (const ButtonRow& row : buttons) {
        row.button.Create(row.container, row.left, row.top, row.width, row.height, ButtonDesign(row.caption));
        row.button.Click = row.click;
    }

    // The keyboard: the controls that take the focus by their tab index
    // (2, 9, 10, 11, 12), and Esc cancels as ｷｬﾝｾﾙ does.
    SetTabOrder({BGM_Repeat.Hwnd(), Cmd_Etc.Hwnd(), Cmd_Set.Hwnd(), Cmd_Can.Hwnd(), Cmd_BGM.Hwnd()});
    SetEscapeUnloads(true);
}

void Mosaika_P::Form_Load() {
    // The window: centred across, at a third of the free height.
    RECT window{};
    GetWindowRect(Hwnd(), &window);
    const DialogPosition position = OpeningPosition(
        forms::PixelsToTwipsX(GetSystemMetrics(SM_CXSCREEN)), forms::PixelsToTwipsY(GetSystemMetrics(SM_CYSCREEN)),
        forms::PixelsToTwipsX(window.right - window.left), forms::PixelsToTwipsY(window.bottom - window.top));
    SetWindowPos(Hwnd(), nullptr, forms::TwipsToPixelsX(position.left), forms::TwipsToPixelsY(position.top), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

    // Every button starts following the pointer.
    for (Command* button : {&Cmd_BGM, &Cmd_Etc, &Cmd_Set, &Cmd_Can}) button->Initialize();

    // The source selector shows the stored source, and enables what that source uses.
    ShowMusicSource(settings_.BgmMode);

    // The repeat box shows the stored track and lists the choices; the label names the stored file.
    BGM_Repeat.SetText(win32::FromCp932(RepeatTrackText(settings_.BgmRepeat)));
    for (const std::string& entry : RepeatTrackEntries()) BGM_Repeat.AddItem(win32::FromCp932(entry));
    lbl_Fname.caption = DisplayName(settings_.BgmFile);

    // The window opens out of the pointer's position, where it closes back into.
    if (!GetCursorPos(&OpenPoint)) OpenPoint = {0, 0};
    OpenPoint = {static_cast<short>(OpenPoint.x), static_cast<short>(OpenPoint.y)};
    const RECT from{OpenPoint.x, OpenPoint.y, OpenPoint.x, OpenPoint.y};
    GetWindowRect(Hwnd(), &window);
    AnimateCaption(Hwnd(), from, window);

    // The arrow pointer, whatever the host showed while starting the program.
    SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)));  // IDC_ARROW
}

void Mosaika_P::Form_Unload(bool& /*cancel*/) {
    // Back into the point the dialog opened from, not where the pointer is now.
    RECT window{};
    GetWindowRect(Hwnd(), &window);
    const RECT to{OpenPoint.x, OpenPoint.y, OpenPoint.x, OpenPoint.y};
    AnimateCaption(Hwnd(), window, to);
}

void Mosaika_P::PaintGradient() {
    PaintBands(*this, BandSurface::Dialog);
    if (Pic_C.Loaded()) PaintBands(Pic_C, BandSurface::Panel);
}

void Mosaika_P::ShowMusicSource(std::int16_t bgmMode) {
    const MusicSourceView view = MusicSourceViewFor(bgmMode);
    for (std::size_t i = 0; i < Img_BGM.size(); ++i) {
        Img_BGM[i].SetPicture(Img_Ra[static_cast<std::size_t>(view.indicators[i])]);
    }
    BGM_Repeat.SetEnabled(view.repeatEnabled);
    Cmd_BGM.SetEnabled(view.browseEnabled);
    Pic_C.Refresh();
}

void Mosaika_P::SelectMusicSource(int index) {
    mosaika::SelectMusicSource(settings_, index);
    ShowMusicSource(settings_.BgmMode);
}

void Mosaika_P::ChooseMusicFile() {
    static const wchar_t kFilter[] = L"BGMﾌｧｲﾙ (MP3 WAV)\0*.MP3;*.WAV\0";
    std::wstring file(256, L'\0');
    std::wstring fileTitle(256, L'\0');
    OPENFILENAMEW chooser{};
    // The classic structure, without the fields Windows 2000 added.
    chooser.lStructSize = OPENFILENAME_SIZE_VERSION_400W;
    chooser.hwndOwner = Hwnd();
    chooser.hInstance = GetModuleHandleW(nullptr);
    chooser.lpstrFilter = kFilter;
    chooser.lpstrFile = file.data();
    chooser.nMaxFile = 255;
    chooser.lpstrFileTitle = fileTitle.data();
    chooser.nMaxFileTitle = 255;
    chooser.lpstrTitle = L"ﾌｧｲﾙを開く";
    chooser.Flags = 0;
    if (GetOpenFileNameW(&chooser) > 0) KeepMusicFile(file.c_str());
}

void Mosaika_P::KeepMusicFile(const std::wstring& path) {
    // The ini file holds Shift-JIS: a path it cannot spell is stored by its
    // short form, and one that has none is refused, never stored to play nothing.
    const std::optional<std::string> stored = StorableMusicPath(win32::ToCp932(path), ShortPathBytes(path));
    if (!stored) {
        const std::wstring text = L"このファイルの場所は保存できません。\n" + path +
                                  L"\n\nフォルダーとファイルの名前に日本語と英数字だけを使った場所"
                                  L"（たとえば C:\\Music）にファイルを移してから、もう一度選んでください。";
        MessageBoxW(Hwnd(), text.c_str(), forms::kProgramTitle, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    settings_.BgmFile = *stored;
    lbl_Fname.caption = path;
    Pic_C.Refresh();
}

void Mosaika_P::SaveAndClose() {
    settings_.BgmRepeat = BgmRepeatFromText(win32::ToUtf8(BGM_Repeat.Text()));
    if (!SaveSettings(settings_)) {
        // Never a silent loss: the dialog stays open with the user's choices.
        MessageBoxW(Hwnd(), (L"設定を保存できませんでした。\n" + SettingsFile()).c_str(), forms::kProgramTitle,
                    MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    Unload();
}

void Mosaika_P::OpenHomePage() {
    SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32514)));  // IDC_WAIT
    ShellExecuteW(Hwnd(), L"open", L"" MOSAIKA_HOME_PAGE, L"", L"", SW_SHOWNORMAL);
    SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)));  // IDC_ARROW
}

}  // namespace mosaika
