// The editor's own controls and the about screen, through the frame as a window would
// deliver the mouse.
#include "GuiTest.h"

#include "editor/CAbout.h"
#include "editor/CInvisibleSlider.h"
#include "editor/CSplashScreenMyView.h"
#include "editor/QELKickButton.h"
#include "editor/QELOnOffButton.h"
#include "editor/QELSwitch.h"

namespace
{
std::vector<float> valuesOf(const RecordingListener& listener)
{
    std::vector<float> values;
    for (const auto& change : listener.changes)
        values.push_back(change.value);
    return values;
}

// Two stacked images of one colour each: upper, then lower.
CBitmap* twoImageBitmap(int width, int imageHeight, std::uint32_t upper, std::uint32_t lower)
{
    auto* bitmap = new CBitmap(width, 2 * imageHeight);
    auto& pixels = bitmap->pixels().pixels;
    const auto half = pixels.size() / 2;
    std::fill(pixels.begin(), pixels.begin() + static_cast<std::ptrdiff_t>(half), upper);
    std::fill(pixels.begin() + static_cast<std::ptrdiff_t>(half), pixels.end(), lower);
    bitmap->updateOpacity();
    return bitmap;
}

constexpr std::uint32_t kRed = 0xffff0000u;
constexpr std::uint32_t kGreen = 0xff00ff00u;
} // namespace

class SliderTest : public FrameTest
{
protected:
    void SetUp() override
    {
        FrameTest::SetUp();
        slider = add(new CInvisibleSlider(CRect(50, 40, 60, 60), &listener, 31));
        slider->setValue(0.5f);
    }
    bool wheel(float distance, std::int32_t buttons = 0)
    {
        return frame->onWheel(CPoint(55, 50), distance, CButtonState(buttons));
    }
    CInvisibleSlider* slider = nullptr;
};

TEST_F(SliderTest, DragUpCountsFullAndRightHalfAsOneEditGesture)
{
    press(55, 50);
    EXPECT_TRUE(slider->isDragging());
    move(55, -50); // 100 up
    EXPECT_FLOAT_EQ(slider->getValue(), 0.6f);
    move(155, -50); // and 100 right
    EXPECT_FLOAT_EQ(slider->getValue(), 0.65f);
    release(155, -50);
    EXPECT_FALSE(slider->isDragging());
    EXPECT_EQ(editor.begins, std::vector<std::int32_t>{31});
    EXPECT_EQ(editor.ends, std::vector<std::int32_t>{31});
    // The press itself reports the unchanged value, then every move.
    ASSERT_EQ(listener.changes.size(), 3u);
    EXPECT_EQ(listener.changes[0].tag, 31);
    EXPECT_FLOAT_EQ(listener.changes[0].value, 0.5f);

    press(55, 50);
    move(5, 150); // 100 down and 50 left: -125 pixels
    release(5, 150);
    EXPECT_FLOAT_EQ(slider->getValue(), 0.65f - 0.125f);
}

TEST_F(SliderTest, ShiftAtThePressIsFinerAndShiftDuringTheDragKeepsTheValue)
{
    press(55, 50, kLButton | kShift);
    move(155, -50, kLButton | kShift);
    release(155, -50, kLButton | kShift);
    EXPECT_FLOAT_EQ(slider->getValue(), 0.5375f);

    slider->setValue(0.5f);
    press(55, 50);
    move(55, -50);
    EXPECT_FLOAT_EQ(slider->getValue(), 0.6f);
    move(55, -50, kLButton | kShift);
    EXPECT_FLOAT_EQ(slider->getValue(), 0.6f);
    move(55, -150, kLButton | kShift); // 100 more at 1/5000
    EXPECT_FLOAT_EQ(slider->getValue(), 0.62f);
    move(55, -150); // Shift let go: the value stays, then 1/1000 again
    EXPECT_FLOAT_EQ(slider->getValue(), 0.62f);
    move(55, -250);
    EXPECT_FLOAT_EQ(slider->getValue(), 0.72f);
    release(55, -250);
    EXPECT_EQ(editor.begins.size(), 2u);
    EXPECT_EQ(editor.ends.size(), 2u);
}

TEST_F(SliderTest, OvershootMustBeUndoneBeforeTheValueMovesBack)
{
    press(55, 50);
    move(55, -650); // 700 up: 1.2, held at 1
    EXPECT_EQ(slider->getValue(), 1.0f);
    move(55, -550); // 600 up: still beyond the end
    EXPECT_EQ(slider->getValue(), 1.0f);
    move(55, -350); // 400 up
    EXPECT_FLOAT_EQ(slider->getValue(), 0.9f);
    move(55, 1000);
    EXPECT_EQ(slider->getValue(), 0.0f);
    release(55, 1000);
}

TEST_F(SliderTest, WheelStepsAreLimitedAndEachNotchIsOneGesture)
{
    slider->setValue(0.999f);
    EXPECT_TRUE(wheel(1.0f));
    EXPECT_EQ(slider->getValue(), 1.0f);
    slider->setValue(0.5f);
    EXPECT_TRUE(wheel(-1.0f, kShift));
    EXPECT_FLOAT_EQ(slider->getValue(), 0.4997f);
    EXPECT_TRUE(wheel(2.0f));
    EXPECT_FLOAT_EQ(slider->getValue(), 0.5097f);
    EXPECT_EQ(listener.changes.size(), 3u);
    EXPECT_EQ(editor.begins.size(), 3u);
    EXPECT_EQ(editor.ends.size(), 3u);

    slider->setListener(nullptr); // the value still follows, nothing is reported
    EXPECT_TRUE(wheel(1.0f));
    EXPECT_FLOAT_EQ(slider->getValue(), 0.5147f);
    EXPECT_EQ(editor.begins.size(), 3u);
}

TEST_F(SliderTest, OnlyItsOwnLeftButtonDragMovesIt)
{
    EXPECT_EQ(press(55, 50, kRButton), kMouseEventNotHandled);
    move(55, -50, kRButton);
    release(55, -50, kRButton);
    move(55, 45, kLButton); // a hover with the button held, from a press elsewhere
    EXPECT_EQ(slider->getValue(), 0.5f);
    EXPECT_TRUE(listener.changes.empty());
    EXPECT_TRUE(editor.begins.empty());
    EXPECT_TRUE(slider->isTypeOf("CInvisibleSlider"));
    EXPECT_TRUE(slider->isTypeOf("CControl"));
}

TEST_F(FrameTest, OnOffButtonTogglesBetweenTheRangeCentresOnThePress)
{
    auto* bitmap = twoImageBitmap(20, 10, kRed, kGreen);
    auto* button = add(new QELOnOffButton(CRect(10, 10, 30, 20), &listener, 7, bitmap));
    bitmap->forget();

    button->setValue(0.5f); // on
    EXPECT_EQ(press(15, 15), kMouseDownEventHandledButDontNeedMovedOrUpEvents);
    EXPECT_EQ(button->getValue(), 0.25f);
    release(15, 15);
    button->setValue(0.49f); // off
    click(15, 15);
    EXPECT_EQ(button->getValue(), 0.75f);
    click(15, 15);
    EXPECT_EQ(button->getValue(), 0.25f);
    EXPECT_EQ(valuesOf(listener), (std::vector<float>{0.25f, 0.75f, 0.25f}));
    EXPECT_EQ(editor.begins, (std::vector<std::int32_t>{7, 7, 7}));
    EXPECT_EQ(editor.ends, (std::vector<std::int32_t>{7, 7, 7}));

    EXPECT_EQ(press(15, 15, kRButton), kMouseEventNotHandled);
    EXPECT_EQ(button->getValue(), 0.25f);
    EXPECT_EQ(listener.changes.size(), 3u);
}

TEST_F(FrameTest, OnOffButtonShowsTheUpperHalfOfTheRangeAsOn)
{
    auto* bitmap = twoImageBitmap(20, 10, kRed, kGreen);
    auto* button = add(new QELOnOffButton(CRect(10, 10, 30, 20), nullptr, 7, bitmap));
    bitmap->forget();
    const auto shown = [&](float value)
    {
        button->setValue(value);
        frame->drawAll();
        return frame->getBuffer().at(20, 15);
    };
    EXPECT_EQ(shown(0.0f), kRed);
    EXPECT_EQ(shown(0.25f), kRed);
    EXPECT_EQ(shown(0.49f), kRed);
    EXPECT_EQ(shown(0.5f), kGreen);
    EXPECT_EQ(shown(0.75f), kGreen);
    EXPECT_EQ(shown(1.0f), kGreen); // a program may set exactly 1
    EXPECT_FALSE(button->isDirty());

    click(20, 15); // no listener: the button still toggles and redraws
    EXPECT_EQ(button->getValue(), 0.25f);
    EXPECT_TRUE(button->isDirty());
}

TEST_F(FrameTest, KickButtonNotifiesOnceOnThePressWithTheModifierAsMultiplier)
{
    auto* bitmap = twoImageBitmap(26, 26, kRed, kGreen);
    auto* kick = add(new QELKickButton(CRect(10, 10, 36, 36), &listener, 19, 26, bitmap));
    bitmap->forget();
    EXPECT_EQ(kick->getStepMultiplier(), 1.0f);

    EXPECT_EQ(press(20, 20, kLButton | kShift | kControl), kMouseEventHandled);
    EXPECT_EQ(kick->getValue(), 1.0f);
    EXPECT_EQ(kick->getStepMultiplier(), 100.0f);
    EXPECT_EQ(valuesOf(listener), std::vector<float>{1.0f}); // already on the press
    EXPECT_EQ(editor.ends.size(), 1u);
    release(20, 20);
    EXPECT_EQ(kick->getValue(), 0.0f);

    click(20, 20, kLButton | kShift);
    EXPECT_EQ(kick->getStepMultiplier(), 10.0f);
    click(20, 20);
    EXPECT_EQ(kick->getStepMultiplier(), 1.0f);
    EXPECT_EQ(valuesOf(listener), (std::vector<float>{1.0f, 1.0f, 1.0f}));
    EXPECT_EQ(editor.begins, (std::vector<std::int32_t>{19, 19, 19}));
    EXPECT_EQ(editor.ends, (std::vector<std::int32_t>{19, 19, 19}));

    EXPECT_EQ(press(20, 20, kRButton), kMouseEventNotHandled);
    EXPECT_EQ(kick->getStepMultiplier(), 1.0f);
    EXPECT_EQ(listener.changes.size(), 3u);
}

TEST_F(FrameTest, KickButtonShowsThePressOnlyWhileThePointerIsOnIt)
{
    auto* bitmap = twoImageBitmap(26, 26, kRed, kGreen);
    auto* kick = add(new QELKickButton(CRect(10, 10, 36, 36), &listener, 19, 26, bitmap));
    bitmap->forget();
    const auto shown = [&]
    {
        frame->drawAll();
        return frame->getBuffer().at(20, 20);
    };
    EXPECT_EQ(shown(), kRed);
    press(20, 20);
    EXPECT_EQ(shown(), kGreen);
    move(80, 80);
    EXPECT_EQ(kick->getValue(), 0.0f);
    EXPECT_EQ(shown(), kRed);
    move(21, 21);
    EXPECT_EQ(kick->getValue(), 1.0f);
    EXPECT_EQ(shown(), kGreen);
    release(21, 21);
    EXPECT_EQ(shown(), kRed);
    EXPECT_EQ(listener.changes.size(), 1u);
    EXPECT_EQ(editor.begins.size(), 1u);
    EXPECT_EQ(editor.ends.size(), 1u);
}

TEST_F(FrameTest, DelayClockSwitchTakesTheHalfUnderTheMouse)
{
    auto* bitmap = twoImageBitmap(15, 10, kRed, kGreen);
    auto* toggle = add(new QELSwitch(CRect(10, 10, 25, 20), &listener, 15, 2, 10, 2, bitmap));
    bitmap->forget();
    click(17, 15);
    EXPECT_EQ(toggle->getValue(), 0.0f);
    click(18, 15);
    EXPECT_EQ(toggle->getValue(), 1.0f);
    frame->drawAll();
    EXPECT_EQ(frame->getBuffer().at(12, 15), kGreen);
    // Every click is told; the listener decides whether the mode changes and makes the
    // host's gesture, so the switch makes none.
    EXPECT_EQ(valuesOf(listener), (std::vector<float>{0.0f, 1.0f}));
    EXPECT_TRUE(editor.begins.empty());
    EXPECT_TRUE(editor.ends.empty());
    EXPECT_TRUE(toggle->isTypeOf("QELSwitch"));
    EXPECT_TRUE(toggle->isTypeOf("CHorizontalSwitch"));
}

class AboutTest : public FrameTest
{
protected:
    void SetUp() override
    {
        FrameTest::SetUp();
        frame->close();
        auto platformFrame = std::make_unique<OffscreenFrame>();
        offscreen = platformFrame.get();
        frame = new CFrame(CRect(0, 0, 870, 101), std::move(platformFrame), &editor);

        auto* bitmap = new CBitmap(870, 101);
        std::fill(bitmap->pixels().pixels.begin(), bitmap->pixels().pixels.end(), kScreen);
        bitmap->updateOpacity();
        about = add(new CAbout(CRect(806, 15, 867, 39), &listener, 32, bitmap,
                               CRect(0, 0, 870, 101), CPoint(0, 0), CPoint(520, 57)));
        bitmap->forget();
        power = add(new QELOnOffButton(CRect(818, 45, 840, 65), &listener, 14, nullptr));
    }
    CSplashScreenMyView* shown() const
    {
        return dynamic_cast<CSplashScreenMyView*>(frame->getModalView());
    }

    static constexpr std::uint32_t kScreen = 0xff102030u;
    CAbout* about = nullptr;
    QELOnOffButton* power = nullptr;
};

TEST_F(AboutTest, ClickOnTheHotZoneShowsTheScreenAndAnyClickClosesIt)
{
    click(830, 20);
    ASSERT_NE(shown(), nullptr);
    EXPECT_EQ(about->getValue(), 1.0f);
    EXPECT_EQ(shown()->getViewSize(), CRect(0, 0, 870, 101));

    frame->drawAll();
    const PixelBuffer& pixels = frame->getBuffer();
    EXPECT_EQ(pixels.at(0, 0), kScreen);
    EXPECT_EQ(pixels.at(869, 100), kScreen);
    EXPECT_EQ(pixels.at(829, 55), kScreen); // the power button is covered
    int bright = 0;
    for (int y = 0; y < 101; ++y)
        for (int x = 0; x < 870; ++x)
            if (pixels.at(x, y) != kScreen)
            {
                EXPECT_TRUE(x >= 520 && x < 620 && y >= 57 && y < 72) << x << ", " << y;
                bright += (pixels.at(x, y) & 0xffu) > 0xc0u;
            }
    EXPECT_GT(bright, 10); // the white version text

    click(829, 55); // on the power button, away from the hot zone
    EXPECT_EQ(frame->getModalView(), nullptr);
    EXPECT_EQ(about->getValue(), 0.0f);
    EXPECT_EQ(power->getValue(), 0.0f);
    frame->drawAll();
    EXPECT_NE(frame->getBuffer().at(0, 0), kScreen);

    click(829, 55); // the editor works again
    EXPECT_EQ(power->getValue(), 0.75f);
}

TEST_F(AboutTest, OpeningAndClosingTouchNoParameterAndCanBeRepeated)
{
    for (int i = 0; i < 3; ++i)
    {
        click(810, 38);
        ASSERT_NE(shown(), nullptr) << i;
        EXPECT_EQ(about->getValue(), 1.0f);
        CSplashScreenMyView* view = shown();
        view->remember();
        click(5, 5);
        EXPECT_EQ(frame->getModalView(), nullptr);
        EXPECT_EQ(about->getValue(), 0.0f);
        EXPECT_EQ(view->getNbReference(), 1); // the frame let go of it
        view->forget();
    }
    EXPECT_TRUE(listener.changes.empty());
    EXPECT_TRUE(editor.begins.empty());
    EXPECT_TRUE(editor.ends.empty());
}

TEST_F(AboutTest, OtherButtonsNeitherOpenNorClose)
{
    EXPECT_EQ(press(830, 20, kRButton), kMouseEventNotHandled);
    release(830, 20, kRButton);
    EXPECT_EQ(frame->getModalView(), nullptr);
    EXPECT_EQ(about->getValue(), 0.0f);

    click(830, 20);
    EXPECT_EQ(press(100, 50, kRButton), kMouseEventNotHandled);
    release(100, 50, kRButton);
    EXPECT_NE(shown(), nullptr);
    EXPECT_EQ(about->getValue(), 1.0f);
}

TEST_F(AboutTest, TheScreenIsReleasedWithTheFrame)
{
    click(830, 20);
    CSplashScreenMyView* view = shown();
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(view->isTypeOf("CSplashScreenMyView"));
    view->remember();
    frame->close();
    frame = nullptr;
    EXPECT_EQ(view->getNbReference(), 1);
    view->forget();
}

TEST_F(AboutTest, AnotherModalViewKeepsTheHotZoneClosed)
{
    auto* other = new ProbeView(CRect(0, 0, 10, 10), kMouseEventNotHandled);
    ASSERT_TRUE(frame->setModalView(other));
    CPoint where(830, 20);
    EXPECT_EQ(about->onMouseDown(where, CButtonState(kLButton)), kMouseEventHandled);
    EXPECT_EQ(frame->getModalView(), other);
    EXPECT_EQ(about->getValue(), 0.0f);
}
