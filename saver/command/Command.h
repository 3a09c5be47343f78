// Command: the owner-drawn push button of the settings dialog, a child form
// of the toolkit (of its one window class, as every form is). Its face lives
// in a retained image: a vertical gradient, a 4-pixel frame cut from one of
// six skins, and the caption LblMsg drawn above it. It follows focus and
// hover (TmrMouse notices the pointer leaving) and raises Click on a release. The decisions are ButtonStateMachine's and
// ButtonProperties'; this file turns window messages into them and draws.
#pragma once

#include <functional>

#include "ButtonFace.h"
#include "ButtonProperties.h"
#include "ButtonStateMachine.h"
#include "Font.h"
#include "Form.h"
#include "Label.h"

namespace mosaika {

class Command final : public forms::Form {
public:
    Command();

    // Creates the button in container at the given twips, reading its stored
    // design properties (caption and font) as the container hands them over.
    void Create(forms::Form& container, double left, double top, double width, double height,
                const PropertyBag& design);

    // State 1 and the leave timer running.
    void Initialize();

    void SetEnabled(bool enabled);

    std::function<void()> Click;

    forms::Timer TmrMouse;

protected:
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void Form_Resize() override;

private:
    void Apply(const ButtonReaction& reaction);
    void Apply(const PropertyEffects& effects);
    void DrawFace(Skin skin, bool gradientReversed);
    void FillGradient(bool reversed);
    void UpdateCaption();
    void OnMouseButton(UINT message);

    ButtonStateMachine machine_;
    ButtonProperties properties_;
    FaceGeometry geometry_;
    forms::Label LblMsg;
};

}  // namespace mosaika
