// The editor window, opened offscreen through the dispatcher as a host opens it, and
// driven with synthetic mouse events and its own millisecond clock.
#include "editor/CInvisibleSlider.h"
#include "editor/Editor.h"
#include "effect/QEL.h"
#include "gui/VSTGUI.h"
#include "gui/platform/OffscreenFrame.h"
#include "presets/ControllerNames.h"
#include "support/TestPlugin.h"

#include <array>
#include <cmath>
#include <string>

namespace
{
std::uint32_t fakeNow = 1000;
std::uint32_t fakeTickCount()
{
    return fakeNow;
}

constexpr float kBlank = 10.0f / 11.0f;

class EditorTest : public PrivateStoreTest
{
protected:
    void SetUp() override
    {
        PrivateStoreTest::SetUp();
        fakeNow = 1000;
        ed().setTickSource(fakeTickCount);
        ASSERT_EQ(plugin->dispatch(effEditOpen, 0, 0, nullptr), 1);
        ASSERT_NE(frame(), nullptr);
    }
    void TearDown() override { plugin->dispatch(effEditClose); }

    Editor& ed() { return static_cast<Editor&>(editor()); }
    CFrame* frame() { return ed().getFrame(); }
    OffscreenFrame& window() { return *static_cast<OffscreenFrame*>(frame()->getPlatformFrame()); }
    CControl* control(std::int32_t tag) { return ed().getControlForTag(tag); }
    float parameter(int index) { return plugin->getParameter(index); }
    void set(int index, float value) { plugin->setParameter(index, value); }

    void click(CCoord x, CCoord y, std::int32_t buttons = kLButton)
    {
        CPoint where(x, y);
        frame()->onMouseDown(where, CButtonState(buttons));
        frame()->onMouseUp(where, CButtonState(buttons & ~kLButton));
    }
    void drag(CCoord x, CCoord y, CCoord dx, CCoord dy, std::int32_t buttons = kLButton)
    {
        CPoint where(x, y);
        frame()->onMouseDown(where, CButtonState(buttons));
        CPoint to(x + dx, y + dy);
        frame()->onMouseMoved(to, CButtonState(buttons));
        frame()->onMouseUp(to, CButtonState(0));
    }
    // One idle pass at the given time, with the mouse where given (nowhere by default).
    void idleAt(std::uint32_t now, std::optional<CPoint> mouse = CPoint(0, 0))
    {
        fakeNow = now;
        window().setMousePosition(mouse);
        plugin->dispatch(effEditIdle);
    }
    void processSilence()
    {
        std::vector<float> silence(64, 0.0f);
        std::vector<float> out(64);
        float* inputs[] = {silence.data(), silence.data()};
        float* outputs[] = {out.data(), out.data()};
        plugin->process(inputs, outputs, 64);
    }
    std::string digits()
    {
        std::string shown;
        for (std::int32_t tag = 21; tag <= 24; ++tag)
        {
            const int frame = static_cast<int>(control(tag)->getValue() * 11.0f + 0.5f);
            shown += frame == 10 ? '_' : static_cast<char>('0' + frame);
        }
        return shown;
    }
    std::string controllerText()
    {
        for (std::int32_t i = 0; i < frame()->getNbViews(); ++i)
            if (auto* view = dynamic_cast<CParamDisplay*>(frame()->getView(i));
                view && view->getTag() == 39)
                return view->getDisplayText();
        ADD_FAILURE() << "no controller display";
        return {};
    }
};
} // namespace

TEST_F(EditorTest, OpensWithEveryControlInPlaceAndShowingTheEffect)
{
    struct Expected
    {
        const char* type;
        std::int32_t tag;
        CRect rect;
    };
    const Expected expected[] = {
        {"CMovieBitmap", 21, {511, 32, 525, 52}},     {"CMovieBitmap", 22, {528, 32, 542, 52}},
        {"CMovieBitmap", 23, {545, 32, 560, 52}},     {"CMovieBitmap", 24, {563, 32, 577, 52}},
        {"CMovieBitmap", 26, {577, 26, 593, 58}},     {"CMovieBitmap", 27, {341, 59, 352, 70}},
        {"CMovieBitmap", 28, {786, 61, 796, 71}},     {"CAnimKnob", 0, {109, 25, 144, 60}},
        {"CAnimKnob", 1, {154, 25, 189, 60}},         {"CAnimKnob", 6, {200, 25, 235, 60}},
        {"CAnimKnob", 2, {352, 25, 387, 60}},         {"CAnimKnob", 9, {616, 25, 651, 60}},
        {"CAnimKnob", 10, {661, 25, 697, 61}},        {"QELOnOffButton", 7, {247, 44, 270, 70}},
        {"CAnimKnob", 11, {706, 25, 742, 61}},        {"CAnimKnob", 12, {752, 25, 788, 61}},
        {"QELOnOffButton", 8, {276, 44, 297, 70}},    {"QELOnOffButton", 5, {306, 44, 327, 70}},
        {"QELOnOffButton", 13, {399, 44, 421, 70}},   {"QELOnOffButton", 4, {74, 45, 95, 65}},
        {"QELOnOffButton", 14, {818, 45, 840, 65}},   {"QELSwitch", 15, {457, 23, 472, 33}},
        {"QELKickButton", 19, {431, 33, 457, 59}},    {"QELKickButton", 20, {470, 33, 496, 59}},
        {"CMovieBitmap", 29, {41, 21, 48, 64}},       {"CInvisibleSlider", 30, {458, 34, 470, 59}},
        {"CInvisibleSlider", 31, {505, 27, 591, 57}}, {"CAbout", 32, {806, 15, 867, 39}},
    };
    ASSERT_GE(frame()->getNbViews(), 28);
    EXPECT_TRUE(frame()->isTypeOf("MyFrame"));
    EXPECT_EQ(frame()->getBackground()->getResourceId(), 128);
    for (int i = 0; i < 28; ++i)
    {
        SCOPED_TRACE(i);
        auto* view = static_cast<CControl*>(frame()->getView(i));
        EXPECT_TRUE(view->isTypeOf(expected[i].type));
        EXPECT_EQ(view->getTag(), expected[i].tag);
        EXPECT_EQ(view->getViewSize(), expected[i].rect);
        // Each image of a control's bitmap fills its rectangle exactly.
        if (CBitmap* bitmap = view->getBackground(); bitmap && expected[i].tag != 32)
        {
            EXPECT_EQ(bitmap->getWidth(), expected[i].rect.getWidth());
            EXPECT_EQ(static_cast<int>(bitmap->getHeight()) %
                          static_cast<int>(expected[i].rect.getHeight()),
                      0);
        }
    }
    // Knobs and buttons show the effect's values; the sliders the root of the delay.
    for (int index : {0, 1, 2, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15})
        EXPECT_FLOAT_EQ(control(index)->getValue(), parameter(index)) << index;
    EXPECT_FLOAT_EQ(control(30)->getValue(), std::sqrt(parameter(kDlyTime)));
    EXPECT_FLOAT_EQ(control(31)->getValue(), std::sqrt(parameter(kDlyTime)));
    EXPECT_FLOAT_EQ(control(27)->getValue(), 0.0f); // power on: lamp lit
    EXPECT_FLOAT_EQ(control(6)->getDefaultValue(), 0.0f);
    EXPECT_FLOAT_EQ(control(0)->getDefaultValue(), 0.5f);
    EXPECT_FLOAT_EQ(control(0)->getWheelInc(), 0.03125f);
    EXPECT_EQ(ed().getKnobMode(), kLinearMode);
}

TEST_F(EditorTest, ReopeningStartsFromTheEffectAgain)
{
    plugin->dispatch(effEditClose);
    EXPECT_EQ(frame(), nullptr);
    EXPECT_EQ(control(6), nullptr);
    set(kFbck, 0.7f); // while closed: nothing to update
    ASSERT_EQ(plugin->dispatch(effEditOpen, 0, 0, nullptr), 1);
    EXPECT_FLOAT_EQ(control(6)->getValue(), 0.7f);
}

TEST_F(EditorTest, ParameterChangesReachTheControlsWithoutNotifyingTheHost)
{
    set(kFbck, 0.3f);
    set(kPower, 0.25f);
    set(kDlyTime, 0.25f);
    plugin->dispatch(effEditIdle); // the editor shows them at its next idle pass
    EXPECT_FLOAT_EQ(control(6)->getValue(), 0.3f);
    EXPECT_FLOAT_EQ(control(14)->getValue(), 0.25f);
    EXPECT_FLOAT_EQ(control(30)->getValue(), 0.5f);
    EXPECT_FLOAT_EQ(control(31)->getValue(), 0.5f);
    set(20, 0.5f); // a controller assignment: no control
    EXPECT_TRUE(host.record.automations.empty());
    EXPECT_TRUE(host.record.beginEdits.empty());
}

TEST_F(EditorTest, KnobsAndButtonsAutomateTheirParameter)
{
    const float before = parameter(kFbck);
    drag(217, 42, 0, -50); // "Fbck": 200 pixels for the whole range
    EXPECT_FLOAT_EQ(parameter(kFbck), before + 0.25f);
    EXPECT_EQ(host.record.beginEdits, std::vector<VstInt32>{kFbck});
    EXPECT_EQ(host.record.endEdits, std::vector<VstInt32>{kFbck});
    ASSERT_FALSE(host.record.automations.empty());
    EXPECT_EQ(host.record.automations.back().first, kFbck);

    click(829, 55); // "Power": on to off
    EXPECT_FLOAT_EQ(parameter(kPower), 0.25f);
    EXPECT_EQ(host.record.automations.back(), (std::pair<VstInt32, float>{kPower, 0.25f}));
    idleAt(1010);
    EXPECT_FLOAT_EQ(control(27)->getValue(), 0.5f); // the power lamp goes dark
}

TEST_F(EditorTest, DelayStepButtonsStepOneMillisecondTimesTheirMultiplier)
{
    set(kDlyTime, 0.0f);
    click(444, 46); // down at 0 stays 0
    EXPECT_FLOAT_EQ(parameter(kDlyTime), 0.0f);
    click(483, 46); // up: one millisecond
    EXPECT_FLOAT_EQ(parameter(kDlyTime), 1.0f / 3200.0f);
    click(483, 46, kLButton | kShift);
    EXPECT_FLOAT_EQ(parameter(kDlyTime), 1.0f / 3200.0f + 10.0f / 3200.0f);
    set(kDlyTime, 0.99f);
    click(483, 46, kLButton | kControl); // 100 ms, cut at the end of the range
    EXPECT_FLOAT_EQ(parameter(kDlyTime), 1.0f);
    EXPECT_FLOAT_EQ(control(31)->getValue(), 1.0f);
    // The host sees the delay time's gestures, never the buttons' own tags.
    for (VstInt32 index : host.record.beginEdits)
        EXPECT_EQ(index, kDlyTime);
    EXPECT_EQ(host.record.beginEdits.size(), 4u);
    EXPECT_EQ(host.record.endEdits.size(), 4u);
}

TEST_F(EditorTest, InClockModeEveryStepButtonClickMovesNumOrDenOneStepWithWrapAround)
{
    set(kDlyClk, 0.75f);
    // From values the host left anywhere in a step, and from both ends of the range: each
    // click lands on the middle of the next step, so none changes nothing.
    const auto walk = [&](int index, int steps, CPoint button, std::int32_t buttons, float from)
    {
        set(index, from);
        const int direction = buttons & (kShift | kControl) ? -1 : 1; // down with either
        int expected = stepIndex(from, steps);
        for (int click = 0; click < steps + 1; ++click)
        {
            this->click(button.x, button.y, buttons);
            expected = (expected + direction + steps) % steps;
            EXPECT_FLOAT_EQ(parameter(index), stepValue(expected, steps))
                << index << " from " << from << ", click " << click;
        }
    };
    walk(kNum, 5, CPoint(444, 46), kLButton, 0.2f);
    walk(kNum, 5, CPoint(444, 46), kLButton, 1.0f);
    walk(kNum, 5, CPoint(444, 46), kLButton | kShift, 0.0f);
    walk(kDen, 13, CPoint(483, 46), kLButton, 0.05f);
    walk(kDen, 13, CPoint(483, 46), kLButton | kControl, 1.0f);
    // One gesture per click, on the parameter stepped.
    EXPECT_EQ(host.record.beginEdits.size(), 3u * 6u + 2u * 14u);
    EXPECT_EQ(host.record.beginEdits.front(), kNum);
    EXPECT_EQ(host.record.beginEdits.back(), kDen);
}

TEST_F(EditorTest, SlidersSetTheSquareOfTheirValueWithinTheirLimits)
{
    set(kDlyTime, 0.25f);
    plugin->dispatch(effEditIdle);
    drag(464, 45, 0, -2000); // the small slider stops short of both ends
    EXPECT_FLOAT_EQ(parameter(kDlyTime), 0.9998438f);
    EXPECT_NEAR(control(31)->getValue(), control(30)->getValue(), 1e-4f);
    drag(464, 45, 0, 2000);
    EXPECT_FLOAT_EQ(parameter(kDlyTime), 0.00015620119f);
    drag(548, 42, 0, -2000); // the wide slider reaches the end
    EXPECT_FLOAT_EQ(parameter(kDlyTime), 1.0f);
    EXPECT_FLOAT_EQ(control(30)->getValue(), 1.0f);
    set(kDlyTime, 0.25f);
    plugin->dispatch(effEditIdle);
    drag(548, 42, 0, -100); // 0.5 + 0.1 on the slider: its square on the delay
    EXPECT_FLOAT_EQ(parameter(kDlyTime), 0.6f * 0.6f);
    for (VstInt32 index : host.record.beginEdits)
        EXPECT_EQ(index, kDlyTime);
}

TEST_F(EditorTest, InClockModeTheSlidersSetTheTempoAndTheDigitsShowIt)
{
    click(469, 28); // "Dly<>Clk", right half: clock mode; the sliders show the tempo's root
    EXPECT_EQ(stepIndex(parameter(kDlyClk), 2), 1);
    EXPECT_FLOAT_EQ(control(31)->getValue(), std::sqrt(effect().getTempo() / 400.0f));
    const float tempo = effect().getTempo();
    drag(548, 42, 0, -100);
    const float slider = control(31)->getValue();
    EXPECT_FLOAT_EQ(control(30)->getValue(), slider);
    EXPECT_FLOAT_EQ(effect().getTempo(), std::max(400.0f * (slider * slider), 40.0f));
    EXPECT_GT(effect().getTempo(), tempo);
    EXPECT_TRUE(host.record.beginEdits == std::vector<VstInt32>{kDlyClk}); // the switch only
    idleAt(1100);
    EXPECT_EQ(digits(), "_" + std::to_string(static_cast<int>(effect().getTempo())));
    idleAt(1501); // the tempo window has ended: back to the num/den reading
    idleAt(1510);
    EXPECT_EQ(digits()[1], '_');
    EXPECT_NE(digits(), "_" + std::to_string(static_cast<int>(effect().getTempo())));
}

TEST_F(EditorTest, RepeatHoldLocksEveryDelayControlWithoutAGestureToTheHost)
{
    set(kDlyTime, 0.25f);
    set(kRptInf, 0.75f);
    click(469, 28); // "Dly<>Clk", right half
    EXPECT_FLOAT_EQ(control(15)->getValue(), parameter(kDlyClk));
    EXPECT_EQ(stepIndex(parameter(kDlyClk), 2), 0);
    click(483, 46);
    drag(548, 42, 0, -100);
    EXPECT_FLOAT_EQ(control(31)->getValue(), 0.5f); // snapped back
    EXPECT_FLOAT_EQ(parameter(kDlyTime), 0.25f);
    set(kDlyClk, 0.75f); // refused or not, the clock mode's controls are locked as well
    const std::array<float, 3> clock = {parameter(kDlyClk), parameter(kNum), parameter(kDen)};
    click(460, 28); // "Dly<>Clk", left half
    click(444, 46, kLButton | kShift);
    click(483, 46);
    frame()->onWheel(CPoint(464, 45), 3.0f, CButtonState(0));
    EXPECT_EQ(clock, (std::array<float, 3>{parameter(kDlyClk), parameter(kNum), parameter(kDen)}));
    EXPECT_TRUE(host.record.automations.empty());
    EXPECT_TRUE(host.record.beginEdits.empty());
    EXPECT_TRUE(host.record.endEdits.empty());
}

TEST_F(EditorTest, ClickingTheSelectedHalfOfDlyClkChangesNothing)
{
    // The factory's "off" is 0.25: a click on the left half must not rewrite it as 0.
    ASSERT_FLOAT_EQ(parameter(kDlyClk), 0.25f);
    click(460, 28);
    EXPECT_FLOAT_EQ(parameter(kDlyClk), 0.25f);
    EXPECT_TRUE(host.record.beginEdits.empty());
    EXPECT_TRUE(host.record.automations.empty());
    click(469, 28); // the other half: one change, one gesture
    click(469, 28);
    EXPECT_EQ(stepIndex(parameter(kDlyClk), 2), 1);
    EXPECT_EQ(host.record.beginEdits, std::vector<VstInt32>{kDlyClk});
    EXPECT_EQ(host.record.endEdits, std::vector<VstInt32>{kDlyClk});
    ASSERT_EQ(host.record.automations.size(), 1u);
    EXPECT_EQ(host.record.automations[0].first, kDlyClk);
}

// However the editor got where it is, one pixel of drag on the wide slider moves the
// delay in use by one pixel's worth, never from a value the engine is not using.
TEST_F(EditorTest, OnePixelOfSliderDragIsOneStepFromTheDelayInUse)
{
    host.script.timeInfoAvailable = false; // a host without a transport: the tempo entry works
    plugin->start(44100.0f, 64);
    processSilence();
    std::uint32_t now = 1000;
    const auto nudge = [&]
    {
        idleAt(now += 10);
        drag(548, 42, 0, -1);
    };
    const auto delayMs = [&] { return parameter(kDlyTime) * 3200.0f; };

    // Reopened while in clock mode, a quarter at 120 BPM.
    set(kDlyClk, 0.75f);
    set(kNum, stepValue(0, 5));
    set(kDen, stepValue(3, 13));
    plugin->dispatch(effEditClose);
    ASSERT_EQ(plugin->dispatch(effEditOpen, 0, 0, nullptr), 1);
    nudge();
    EXPECT_NEAR(effect().getTempo(), 120.0f, 1.0f) << "reopened in clock mode";

    // A clock-mode program picked from the menu after a free-running one.
    window().queueMenuChoice(0);
    click(326, 93);
    idleAt(now += 10);
    window().queueMenuChoice(2); // "8th fast tape": an eighth at the tempo
    click(326, 93);
    ASSERT_EQ(plugin->programName(), "8th fast tape");
    float tempo = effect().getTempo();
    nudge();
    EXPECT_NEAR(effect().getTempo(), tempo, 1.0f) << "clock-mode program from the menu";

    // The host (or a MIDI controller) switches the clock mode off.
    set(kDlyClk, 0.25f);
    float before = delayMs();
    nudge();
    EXPECT_NEAR(delayMs(), before, 5.0f) << "clock mode switched off by the host";

    // A delay time written while the hold refused it, then the hold released.
    set(kRptInf, 0.75f);
    set(kDlyTime, 0.9f);
    set(kRptInf, 0.25f);
    before = delayMs();
    nudge();
    EXPECT_NEAR(delayMs(), before, 5.0f) << "delay time written under the hold";
}

TEST_F(EditorTest, UnderTheHostsTempoTheClockModeSlidersDoNothing)
{
    host.script.tempo = 120.0;
    plugin->start(44100.0f, 64);
    click(469, 28); // clock mode
    processSilence();
    idleAt(1010);
    host.record = {};
    drag(548, 42, 0, -100);
    frame()->onWheel(CPoint(464, 45), 5.0f, CButtonState(0));
    EXPECT_FLOAT_EQ(effect().getTempo(), 120.0f);
    EXPECT_FLOAT_EQ(control(31)->getValue(), std::sqrt(120.0f / 400.0f));
    EXPECT_FLOAT_EQ(control(30)->getValue(), std::sqrt(120.0f / 400.0f));
    EXPECT_TRUE(host.record.automations.empty());
    EXPECT_TRUE(host.record.beginEdits.empty());
    EXPECT_TRUE(host.record.endEdits.empty());
    idleAt(1020);
    EXPECT_EQ(digits()[1], '_'); // still the fraction, not a tempo being entered

    // Once the host gives no tempo, the entry works again.
    host.script.timeInfoAvailable = false;
    processSilence();
    drag(548, 42, 0, -100);
    EXPECT_GT(effect().getTempo(), 120.0f);
}

TEST_F(EditorTest, DigitsSuppressLeadingZeros)
{
    ed().displayDelayDigits(7.0f);
    EXPECT_EQ(digits(), "___7");
    ed().displayDelayDigits(100.0f);
    EXPECT_EQ(digits(), "_100");
    ed().displayDelayDigits(0.0f);
    EXPECT_EQ(digits(), "___0");
    ed().displayDelayDigits(3200.9f);
    EXPECT_EQ(digits(), "3200");
    ed().blankDelayDigits();
    EXPECT_FLOAT_EQ(control(21)->getValue(), kBlank);
    EXPECT_EQ(digits(), "____");
}

TEST_F(EditorTest, DigitsShowTheEffectiveDelayAndTheSetDelayWhileEditing)
{
    set(kDlyTime, 2000.0f / 3200.0f);
    set(kManVco, 0.5f);
    set(kDlyx2, 0.25f);
    idleAt(1000);
    EXPECT_EQ(digits(), "2000");
    set(kDlyx2, 0.75f);
    idleAt(1010);
    EXPECT_EQ(digits(), "4000");
    click(444, 46); // delay down at 1010: the set delay for 500 ms
    idleAt(1020);
    EXPECT_EQ(digits(), "1999");
    idleAt(1509);
    EXPECT_EQ(digits(), "1999");
    idleAt(1510); // the window's last pass
    EXPECT_EQ(digits(), "1999");
    idleAt(1520);
    EXPECT_EQ(digits(), "3998");
}

TEST_F(EditorTest, AnUnreachableSynchronisedDelayBlinksAtOneHertz)
{
    plugin->start(44100.0f, 64);
    set(kDlyClk, 0.75f);
    set(kNum, 0.9f); // 9
    set(kDen, 0.0f); // 1: 9/1 at 120 BPM is 18000 ms
    effect().setTempo(120.0f / 400.0f);
    idleAt(1000);
    const std::string first = digits();
    idleAt(1499);
    EXPECT_EQ(digits(), first);
    idleAt(1500);
    const std::string second = digits();
    EXPECT_NE(first, second);
    EXPECT_TRUE((first == "9__1" && second == "____") || (first == "____" && second == "9__1"));
    idleAt(2000);
    EXPECT_EQ(digits(), first);

    set(kDen, 7.5f / 13.0f); // 16: 1125 ms, steady
    for (std::uint32_t t = 2100; t < 4000; t += 250)
    {
        idleAt(t);
        EXPECT_EQ(digits(), "9_16") << t;
    }
}

TEST_F(EditorTest, TheMeterJumpsUpAndFallsOverHalfASecond)
{
    plugin->start(44100.0f, 64);
    // A loud burst, then silence in the same block for the input filter to ring out.
    std::vector<float> loud(64, 0.0f);
    std::fill_n(loud.begin(), 16, 4.0f);
    std::vector<float> out(64);
    float* inputs[] = {loud.data(), loud.data()};
    float* outputs[] = {out.data(), out.data()};
    plugin->process(inputs, outputs, 64);
    idleAt(1000);
    EXPECT_FLOAT_EQ(control(29)->getValue(), 1.0f);
    processSilence();
    idleAt(1250); // silence since: half the range in 250 ms
    EXPECT_NEAR(control(29)->getValue(), 0.5f, 1e-6f);
    processSilence();
    idleAt(1500);
    EXPECT_FLOAT_EQ(control(29)->getValue(), 0.0f);
    plugin->process(inputs, outputs, 64);
    idleAt(1510);
    EXPECT_FLOAT_EQ(control(29)->getValue(), 1.0f);
    processSilence();
    idleAt(2500);
    EXPECT_FLOAT_EQ(control(29)->getValue(), 0.0f);
}

TEST_F(EditorTest, StatusAndOscillatorLampsFollowTheEffect)
{
    plugin->start(44100.0f, 64);
    set(kHiCut, 0.75f);
    set(kRptInf, 0.75f);
    idleAt(1000);
    EXPECT_FLOAT_EQ(control(26)->getValue(), 3.0f / 7.0f);
    set(kHiCut, 0.25f);
    idleAt(1010);
    EXPECT_FLOAT_EQ(control(26)->getValue(), 2.0f / 7.0f);
    const float lamp = control(28)->getValue();
    EXPECT_GE(lamp, 0.0f);
    EXPECT_LE(lamp, 1.0f);
}

TEST_F(EditorTest, TheControllerUnderTheMouseIsNamed)
{
    idleAt(1000, CPoint(126, 42)); // "Input": bound to controller 102 by default
    EXPECT_EQ(controllerText(), "control 102");
    idleAt(1010, CPoint(548, 42)); // the wide slider stands for the delay time
    const int controller = effect().getControllerForParameter(kDlyTime);
    EXPECT_EQ(controllerText(), controllerName(controller == 999 ? 128 : controller));
    EXPECT_NE(controllerText(), "");
    idleAt(1020, CPoint(5, 5)); // background
    EXPECT_EQ(controllerText(), "");
    set(kFirstControllerParameter + kFbck, 1.0f); // "Fbck" unbound
    idleAt(1030, CPoint(217, 42));
    EXPECT_EQ(controllerText(), "not assigned");
    // Outside the window the display keeps what it showed.
    idleAt(1040, std::nullopt);
    EXPECT_EQ(controllerText(), "not assigned");
}

TEST_F(EditorTest, TheAboutScreenOpensAndClosesWithoutTouchingAnyParameter)
{
    std::array<float, kNumParameters> before{};
    for (int i = 0; i < kNumParameters; ++i)
        before[i] = parameter(i);
    click(830, 25);
    ASSERT_NE(frame()->getModalView(), nullptr);
    EXPECT_TRUE(frame()->getModalView()->isTypeOf("CSplashScreenMyView"));
    click(829, 55); // on the power button, but the about screen takes it
    EXPECT_EQ(frame()->getModalView(), nullptr);
    click(830, 25, kRButton);
    EXPECT_EQ(frame()->getModalView(), nullptr);
    click(830, 25);
    EXPECT_NE(frame()->getModalView(), nullptr);
    for (int i = 0; i < kNumParameters; ++i)
        EXPECT_EQ(parameter(i), before[i]) << i;
    EXPECT_TRUE(host.record.automations.empty());
    EXPECT_TRUE(host.record.beginEdits.empty());
}
