// Mosaika_P: the settings dialog "<モザイカ図>". The user chooses the music
// source (none, audio CD, or an MP3/WAV file), the CD track to repeat and the
// music file, and saves them; a second button opens the maker's home page.
// The layout is fixed in twips; the dialog and its panel paint sine bands.
#pragma once

#include <array>
#include <map>
#include <memory>
#include <string>

#include "Command.h"
#include "ComboBox.h"
#include "Panel.h"
#include "Shape.h"
#include "Image.h"
#include "Label.h"
#include "Picture.h"
#include "Settings.h"

namespace mosaika {

class Mosaika_P final : public forms::Form {
public:
    explicit Mosaika_P(MusicSettings& settings);

    Panel Pic_C;
    forms::Shape Shape3;
    std::map<int, forms::Label> lbl;  // the elements 7, 14 and 15 of the control array
    std::array<forms::Image, 3> Img_BGM;
    std::array<forms::Label, 3> lbl_BGM;
    forms::ComboBox BGM_Repeat;
    Command Cmd_BGM;
    forms::Label lbl_Fname;
    Command Cmd_Etc;
    Command Cmd_Set;
    Command Cmd_Can;
    std::array<forms::Picture, 2> Img_Ra;  // unselected, selected

protected:
    void CreateChildWindows() override;
    void Form_Load() override;
    void Form_Resize() override { PaintGradient(); }
    void Form_Unload(bool& cancel) override;

private:
    void PaintGradient();
    void SelectMusicSource(int index);
    void ShowMusicSource(std::int16_t bgmMode);
    void ChooseMusicFile();
    void KeepMusicFile(const std::wstring& path);
    void SaveAndClose();
    void OpenHomePage();

    MusicSettings& settings_;
    std::shared_ptr<forms::Font> font_;
    POINT OpenPoint{};
};

}  // namespace mosaika
