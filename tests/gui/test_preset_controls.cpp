// The preset strip's four button classes, through the frame as a window would deliver the
// mouse: which image each shows, what each press reports and what it swallows.
#include "GuiTest.h"

#include "presets/CQEKickButton.h"
#include "presets/CQEOnOffButton.h"
#include "presets/CQERockerSwitch.h"
#include "presets/CSaveLoadButton.h"

#include <functional>

namespace
{
// Image k of n stacked images, each one plain colour, told apart by its green channel.
CBitmap* stackedImages(int width, int imageHeight, int images)
{
    auto* bitmap = new CBitmap(width, imageHeight * images);
    auto& pixels = bitmap->pixels().pixels;
    const auto perImage = static_cast<std::size_t>(width) * static_cast<std::size_t>(imageHeight);
    for (int k = 0; k < images; ++k)
        std::fill(pixels.begin() + static_cast<std::ptrdiff_t>(perImage * k),
                  pixels.begin() + static_cast<std::ptrdiff_t>(perImage * (k + 1)),
                  0xff000000u | (static_cast<std::uint32_t>(k + 1) * 0x20u) << 8);
    bitmap->updateOpacity();
    return bitmap;
}

// A listener that runs a check while the control is reporting.
struct CallbackListener : CControlListener
{
    std::function<void(CControl*)> onChange;
    void valueChanged(CControl* control) override { onChange(control); }
};

std::vector<float> valuesOf(const RecordingListener& listener)
{
    std::vector<float> values;
    for (const auto& change : listener.changes)
        values.push_back(change.value);
    return values;
}
} // namespace

class PresetControlTest : public FrameTest
{
protected:
    // Adds the control, which keeps its own reference to the bitmap.
    template <class T, class... Args> T* make(const CRect& rect, int images, Args... args)
    {
        CBitmap* bitmap = stackedImages(static_cast<int>(rect.getWidth()),
                                        static_cast<int>(rect.getHeight()), images);
        T* control = add(new T(rect, &listener, 7, bitmap, args...));
        bitmap->forget();
        return control;
    }
    // The image the control shows now, as drawn into the frame.
    int shownImage(const CControl* control)
    {
        frame->drawAll();
        const CRect& r = control->getViewSize();
        const std::uint32_t pixel =
            frame->getBuffer().at(static_cast<int>(r.left + 1), static_cast<int>(r.top + 1));
        return static_cast<int>((pixel >> 8) & 0xffu) / 0x20 - 1;
    }
    // The mouse arrives over the control without a button.
    void hover(double x, double y) { move(x, y, 0); }
};

TEST_F(PresetControlTest, KickButtonReportsOnThePressOnlyAndShowsHoverAndPress)
{
    auto* button = make<CQEKickButton>(CRect(10, 10, 40, 25), 3);
    EXPECT_FALSE(button->isDoubleClickButton());
    EXPECT_EQ(shownImage(button), 0);
    hover(20, 15);
    EXPECT_EQ(shownImage(button), 1);

    EXPECT_EQ(press(20, 15), kMouseEventHandled);
    EXPECT_EQ(valuesOf(listener), std::vector<float>{1.0f});
    EXPECT_EQ(shownImage(button), 2);
    move(100, 80); // held: dragging away neither reports nor releases
    EXPECT_EQ(button->getValue(), 1.0f);
    EXPECT_EQ(shownImage(button), 2);
    release(100, 80);
    EXPECT_EQ(button->getValue(), 0.0f);
    EXPECT_EQ(listener.changes.size(), 1u);
    EXPECT_EQ(shownImage(button), 0); // released outside: no longer hovered either

    // Ctrl makes no difference on a single-click button; other buttons are swallowed.
    click(20, 15, kLButton | kControl);
    EXPECT_EQ(press(20, 15, kRButton), kMouseDownEventHandledButDontNeedMovedOrUpEvents);
    release(20, 15, kRButton);
    EXPECT_EQ(valuesOf(listener), (std::vector<float>{1.0f, 1.0f}));
    // The strip's tags name no parameter: nothing goes to the host.
    EXPECT_TRUE(editor.begins.empty());
}

TEST_F(PresetControlTest, DoubleClickButtonAnswersDoubleClicksAndCtrlGivesHalf)
{
    auto* button = make<CQEKickButton>(CRect(10, 10, 40, 25), 3, true);
    EXPECT_TRUE(button->isDoubleClickButton());
    EXPECT_EQ(press(20, 15), kMouseDownEventHandledButDontNeedMovedOrUpEvents);
    EXPECT_FALSE(button->isPressed());
    click(20, 15, kLButton | kControl);
    click(20, 15, kRButton | kDoubleClick);
    EXPECT_TRUE(listener.changes.empty());

    press(20, 15, kLButton | kDoubleClick);
    EXPECT_TRUE(button->isPressed());
    release(20, 15, kLButton);
    press(20, 15, kLButton | kDoubleClick | kControl);
    EXPECT_EQ(button->getValue(), 0.5f);
    EXPECT_EQ(shownImage(button), 2);
    release(20, 15, kLButton);
    EXPECT_EQ(button->getValue(), 0.0f);
    EXPECT_EQ(valuesOf(listener), (std::vector<float>{1.0f, 0.5f}));
}

TEST_F(PresetControlTest, SaveLoadButtonGivesHalfForTheRightButtonAlone)
{
    auto* button = make<CSaveLoadButton>(CRect(10, 10, 27, 25), 3);
    const struct
    {
        std::int32_t buttons;
        float reported;
    } cases[] = {
        {kLButton, 1.0f},
        {kRButton, 0.5f},
        {kRButton | kShift, 1.0f},
        {kRButton | kControl, 1.0f},
        {kRButton | kDoubleClick, 1.0f},
        {kRButton | kLButton, 1.0f},
        {kLButton | kDoubleClick, 1.0f},
    };
    for (const auto& c : cases)
    {
        listener.changes.clear();
        EXPECT_EQ(press(15, 15, c.buttons), kMouseDownEventHandledButDontNeedMovedOrUpEvents);
        EXPECT_EQ(valuesOf(listener), std::vector<float>{c.reported}) << c.buttons;
        EXPECT_EQ(button->getValue(), 0.0f);
    }
    listener.changes.clear();
    EXPECT_EQ(press(15, 15, kMButton), kMouseEventNotHandled);
    EXPECT_TRUE(listener.changes.empty());
}

TEST_F(PresetControlTest, SaveLoadButtonShowsPressedWhileReportingAndNeedsAListener)
{
    CallbackListener reporter;
    int imageDuringReport = -1;
    auto* button = make<CSaveLoadButton>(CRect(10, 10, 27, 25), 3);
    button->setListener(&reporter);
    reporter.onChange = [&](CControl* control) { imageDuringReport = shownImage(control); };
    hover(15, 15);
    EXPECT_EQ(shownImage(button), 1);
    press(15, 15, kRButton);
    EXPECT_EQ(imageDuringReport, 2);
    EXPECT_EQ(shownImage(button), 1);
    move(100, 80, 0);
    EXPECT_EQ(shownImage(button), 0);

    button->setListener(nullptr);
    EXPECT_EQ(press(15, 15), kMouseEventNotHandled);
}

TEST_F(PresetControlTest, OnOffButtonTogglesOnThePressWithThreeImages)
{
    auto* button = make<CQEOnOffButton>(CRect(10, 10, 34, 26), 3);
    EXPECT_EQ(button->getHeightOfOneImage(), 16);
    EXPECT_EQ(shownImage(button), 0);
    hover(20, 15);
    EXPECT_EQ(shownImage(button), 1);
    EXPECT_EQ(press(20, 15), kMouseDownEventHandledButDontNeedMovedOrUpEvents);
    EXPECT_EQ(shownImage(button), 2); // on wins over hover
    click(20, 15);
    EXPECT_EQ(shownImage(button), 1);
    EXPECT_EQ(press(20, 15, kRButton), kMouseEventNotHandled);
    EXPECT_EQ(valuesOf(listener), (std::vector<float>{1.0f, 0.0f}));
    button->setValue(1.0f); // as the editor sets it
    move(100, 80, 0);
    EXPECT_EQ(shownImage(button), 2);
    button->setValue(0.0f);
    EXPECT_EQ(shownImage(button), 0);
    EXPECT_TRUE(editor.begins.empty());
}

TEST_F(PresetControlTest, RockerReportsOncePerPressAndFollowsTheHoveredHalf)
{
    auto* rocker = make<CQERockerSwitch>(CRect(100, 10, 130, 23), 5);
    EXPECT_EQ(rocker->getMin(), -1.0f);
    EXPECT_EQ(shownImage(rocker), 0);
    hover(105, 15);
    EXPECT_EQ(rocker->getHoverSide(), -1);
    EXPECT_EQ(shownImage(rocker), 1);
    hover(115, 15); // the middle belongs to the right half
    EXPECT_EQ(rocker->getHoverSide(), 1);
    EXPECT_EQ(shownImage(rocker), 2);

    EXPECT_EQ(press(105, 15), kMouseEventHandled);
    EXPECT_EQ(rocker->getValue(), -1.0f);
    EXPECT_EQ(shownImage(rocker), 3);
    move(125, 15); // held: neither the value nor the hovered half follows
    move(160, 60);
    EXPECT_EQ(rocker->getValue(), -1.0f);
    EXPECT_EQ(rocker->getHoverSide(), 1);
    release(160, 60);
    EXPECT_EQ(rocker->getValue(), 0.0f);
    EXPECT_EQ(rocker->getHoverSide(), 0); // released outside
    EXPECT_EQ(shownImage(rocker), 0);

    click(125, 15);
    EXPECT_EQ(press(125, 15, kRButton), kMouseEventNotHandled);
    EXPECT_EQ(valuesOf(listener), (std::vector<float>{-1.0f, 1.0f}));
    press(125, 15);
    EXPECT_EQ(shownImage(rocker), 4);
    release(125, 15);
    EXPECT_EQ(shownImage(rocker), 2);
    EXPECT_TRUE(editor.begins.empty());
}
