// The plug-in's editor window: an 870 x 101 panel of knobs, switches, step buttons, two
// invisible delay sliders, four delay digits, lamps and a level meter, with the preset
// strip of the preset editor along its bottom edge. Every user action becomes a parameter
// change of the effect; the idle pass shows what the engine reports.
#pragma once

#include "editor/EditorLayout.h"
#include "editor/TickCount.h"
#include "presets/CPresetSystemEditor.h"

#include <array>
#include <cstdint>

class QEL;
class CControl;
class CInvisibleSlider;
class CMovieBitmap;
class QELKickButton;
class MyFrame;

class Editor : public CPresetSystemEditor
{
public:
    explicit Editor(QEL* effect) noexcept;

    static constexpr VstInt16 kWidth = static_cast<VstInt16>(editorLayout::kWidth);
    static constexpr VstInt16 kHeight = static_cast<VstInt16>(editorLayout::kHeight);

    // Builds the window in the parent (an X11 window or HWND; null: offscreen). Always
    // succeeds: a bitmap or control that cannot be made is left out.
    bool open(void* ptr) override;
    void close() override;
    // The host's periodic call: the frame's own idle, then what the effect published
    // (changed parameters, programs, modes), the controller under the mouse, the digits,
    // the lamps and the meter. Allocates nothing.
    void idle() override;
    // A changed parameter's control follows it; from idle, on the user-interface thread.
    void setParameter(VstInt32 index, float value) override;
    // A whole number on the four digits, leading zeros blank.
    virtual void displayDelayDigits(float value);
    virtual void blankDelayDigits();
    void valueChanged(CControl* control) override;

    // Gestures of controls that stand for a parameter reach the host; those of the step
    // buttons, sliders and the strip name no parameter and stay here.
    void beginEdit(std::int32_t index) override;
    void endEdit(std::int32_t index) override;

    // Tests drive the editor's clock; its timers restart on the new clock.
    void setTickSource(TickSource source) noexcept;

    // The window's controls, for hosts and tests that inspect them; null while closed.
    CControl* getControlForTag(std::int32_t tag) const noexcept;

    static constexpr std::uint32_t kEditWindowMs = 500; // digits show an edited value this long
    static constexpr std::uint32_t kBlinkMs = 500;      // half a period of the over-range blink

protected:
    int parameterForTag(std::int32_t tag) const override;

private:
    void createControls(CBitmap* const* bitmaps);
    void changeClockMode(CControl* clockSwitch, float v);
    void changeDelayStep(std::int32_t tag, float multiplier);
    void changeDelaySlider(CControl* slider, std::int32_t tag, float value);
    void setSliders(float value);
    // The invisible sliders start from the delay in use: the tempo in clock mode, the
    // delay time otherwise.
    float sliderBase();
    // While the repeat hold holds, the delay time, the mode, "Num" and "Den" stay as they are.
    bool delayControlsLocked();
    void showParameterChanges();
    void showDigits();
    void updateMeter(float level, std::uint32_t now);
    bool isOn(int index);

    QEL* qel;
    TickSource tickCount = systemTickCount;

    bool tempoEditActive = false;
    std::uint32_t tempoEditTime = 0;
    bool delayEditActive = false;
    std::uint32_t delayEditTime = 0;
    bool blinkOn = false;
    std::uint32_t blinkTime = 0;
    float meterFloor = 0.0f;
    float meterFallMs = 500.0f;
    std::uint32_t lastIdleTime = 0;
    // What the sliders were last based on, besides the published parameter changes.
    std::uint32_t sliderProgramGeneration = 0;
    float sliderTempo = 0.0f;

    // Not owned: the frame owns the controls.
    std::array<CControl*, editorLayout::kRows.size()> controls{};
    std::array<CMovieBitmap*, editorLayout::kNumDigits> digits{};
    CMovieBitmap* statusLamps = nullptr;
    CMovieBitmap* powerLamp = nullptr;
    CMovieBitmap* oscillatorLamp = nullptr;
    CMovieBitmap* meter = nullptr;
    CInvisibleSlider* smallSlider = nullptr;
    CInvisibleSlider* wideSlider = nullptr;
    QELKickButton* delayDown = nullptr;
    QELKickButton* delayUp = nullptr;
    // The controls of parameters 0 to 15, by index; 3 (the delay time) has the sliders.
    std::array<CControl*, 16> parameterControls{};
};
