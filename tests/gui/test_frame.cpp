// The frame: hit testing, mouse capture, the modal view, enter/leave, ownership and the
// rectangles it redraws.
#include "GuiTest.h"

using Events = std::vector<std::string>;

namespace
{
Events pressesAndReleases(const ProbeView* view)
{
    Events out;
    for (const auto& event : view->events)
        if (event == "down" || event == "up")
            out.push_back(event);
    return out;
}
} // namespace

TEST_F(FrameTest, PressGoesToTheTopmostVisibleEnabledViewUnderTheMouse)
{
    auto* below = add(new ProbeView(CRect(0, 0, 100, 100)));
    auto* above = add(new ProbeView(CRect(50, 0, 150, 100)));
    auto* hidden = add(new ProbeView(CRect(60, 0, 70, 100)));
    hidden->setVisible(false);
    auto* disabled = add(new ProbeView(CRect(80, 0, 90, 100)));
    disabled->setMouseEnabled(false);

    click(20, 10);
    click(65, 10);
    click(85, 10);
    click(120, 10);
    EXPECT_EQ(pressesAndReleases(below), (Events{"down", "up"}));
    EXPECT_EQ(pressesAndReleases(above), (Events{"down", "up", "down", "up", "down", "up"}));
    EXPECT_TRUE(hidden->events.empty());
    EXPECT_TRUE(disabled->events.empty());
    EXPECT_EQ(press(180, 10), kMouseEventNotHandled);

    // getViewAt finds views regardless of their mouse setting, never hidden ones.
    EXPECT_EQ(frame->getViewAt(CPoint(85, 10)), disabled);
    EXPECT_EQ(frame->getViewAt(CPoint(65, 10)), above);
    EXPECT_EQ(frame->getViewAt(CPoint(20, 10), true), below);
    EXPECT_EQ(frame->getViewAt(CPoint(199, 99)), nullptr);
    EXPECT_EQ(frame->getViewAt(CPoint(100, 10)), above); // right edge of below is outside it
}

TEST_F(FrameTest, ANotHandledPressFallsThroughToTheViewBelow)
{
    auto* below = add(new ProbeView(CRect(0, 0, 100, 100)));
    auto* above = add(new ProbeView(CRect(0, 0, 100, 100), kMouseEventNotHandled));
    EXPECT_EQ(press(10, 10), kMouseEventHandled);
    EXPECT_EQ(above->events, (Events{"down"}));
    EXPECT_EQ(below->events, (Events{"down"}));
    EXPECT_EQ(frame->getMouseDownView(), below);
}

TEST_F(FrameTest, TheViewThatTookThePressKeepsTheMouseUntilRelease)
{
    auto* a = add(new ProbeView(CRect(0, 0, 50, 50)));
    auto* b = add(new ProbeView(CRect(50, 0, 100, 50)));
    press(10, 10);
    move(75, 10);   // over b
    move(300, 300); // outside the frame
    release(75, 10);
    EXPECT_EQ(a->events, (Events{"down", "moved", "moved", "up"}));
    EXPECT_EQ(a->last, CPoint(75, 10));
    EXPECT_EQ(frame->getMouseDownView(), nullptr);
    // After the release the mouse is over b: it is entered.
    EXPECT_EQ(b->events, (Events{"entered"}));
}

TEST_F(FrameTest, HandledWithoutFurtherEventsTakesNoCapture)
{
    auto* a =
        add(new ProbeView(CRect(0, 0, 50, 50), kMouseDownEventHandledButDontNeedMovedOrUpEvents));
    EXPECT_EQ(press(10, 10), kMouseDownEventHandledButDontNeedMovedOrUpEvents);
    EXPECT_EQ(frame->getMouseDownView(), nullptr);
    release(10, 10);
    EXPECT_EQ(a->events, (Events{"down", "entered"}));
}

TEST_F(FrameTest, EnterAndLeaveFollowTheMouse)
{
    auto* a = add(new ProbeView(CRect(0, 0, 50, 50)));
    auto* b = add(new ProbeView(CRect(50, 0, 100, 50)));
    move(10, 10, 0);
    move(20, 10, 0);
    move(60, 10, 0);
    CPoint outside(-1, -1);
    frame->onMouseExited(outside, CButtonState());
    EXPECT_EQ(a->events, (Events{"entered", "moved", "moved", "exited"}));
    EXPECT_EQ(b->events, (Events{"entered", "moved", "exited"}));
}

TEST_F(FrameTest, TheModalViewTakesEveryMouseEventAndTheFrameReleasesIt)
{
    auto* control = add(new ProbeView(CRect(0, 0, 100, 100)));
    int destroyed = 0;
    auto* modal = new ProbeView(CRect(150, 0, 200, 50), kMouseEventHandled, &destroyed);
    ASSERT_TRUE(frame->setModalView(modal));
    ProbeView second{CRect()};
    EXPECT_FALSE(frame->setModalView(&second)); // one at a time
    click(10, 10);                              // over the control, away from the modal view
    EXPECT_TRUE(control->events.empty());
    EXPECT_EQ(modal->events, (Events{"down", "up", "entered"}));

    // Closing the frame while the view is modal releases it with the frame.
    frame->close();
    frame = nullptr;
    EXPECT_EQ(destroyed, 1);
}

// A modal view that closes itself on a click, as an about screen does.
struct SelfClosingView : ProbeView
{
    using ProbeView::ProbeView;
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override
    {
        ProbeView::onMouseDown(where, buttons);
        CFrame* parent = getFrame();
        parent->setDirty();
        parent->setModalView(nullptr);
        forget();
        return kMouseEventHandled;
    }
};

TEST_F(FrameTest, AModalViewMayRemoveAndReleaseItselfInsideItsHandler)
{
    auto* control = add(new ProbeView(CRect(0, 0, 100, 100)));
    int destroyed = 0;
    frame->setModalView(new SelfClosingView(CRect(0, 0, 200, 100), kMouseEventHandled, &destroyed));
    click(10, 10);
    EXPECT_EQ(destroyed, 1);
    EXPECT_EQ(frame->getModalView(), nullptr);
    EXPECT_EQ(frame->getMouseDownView(), nullptr);
    EXPECT_TRUE(control->events.empty() || control->events == Events{"entered"});
    click(10, 10);
    EXPECT_EQ(control->events.back(), "up");
}

TEST_F(FrameTest, CloseReleasesEveryViewOnce)
{
    int destroyed = 0;
    for (int i = 0; i < 5; ++i)
        add(new ProbeView(CRect(i * 10, 0, i * 10 + 10, 10), kMouseEventHandled, &destroyed));
    auto* kept = new ProbeView(CRect(0, 0, 10, 10), kMouseEventHandled, &destroyed);
    kept->remember(); // someone else still holds this one
    add(kept);
    press(5, 5); // captured while the frame closes
    frame->close();
    frame = nullptr;
    EXPECT_EQ(destroyed, 5);
    EXPECT_FALSE(kept->isAttached());
    kept->forget();
    EXPECT_EQ(destroyed, 6);
}

TEST_F(FrameTest, IdleRedrawsAndPresentsOnlyWhatChanged)
{
    auto* knobBitmap = new CBitmap(CResourceDescription(131));
    auto* knob = add(new CAnimKnob(CRect(10, 10, 45, 45), &listener, 0, 101, 35, knobBitmap));
    auto* lamp = add(new CMovieBitmap(CRect(100, 10, 135, 45), nullptr, 1, 101, 35, knobBitmap));
    knobBitmap->forget();

    frame->idle(); // first pass: everything
    ASSERT_EQ(offscreen->presentedRects().size(), 1u);
    EXPECT_EQ(offscreen->presentedRects()[0], CRect(0, 0, 200, 100));
    offscreen->clearPresented();

    frame->idle(); // nothing changed
    EXPECT_TRUE(offscreen->presentedRects().empty());

    lamp->setValue(0.5f); // as the audio thread would: a stored value, no drawing
    EXPECT_TRUE(offscreen->presentedRects().empty());
    frame->idle();
    EXPECT_EQ(offscreen->presentedRects(), (std::vector<CRect>{CRect(100, 10, 135, 45)}));
    offscreen->clearPresented();

    lamp->setValue(0.5f); // the same value again: nothing to do
    knob->setValue(knob->getValue());
    frame->idle();
    EXPECT_TRUE(offscreen->presentedRects().empty());

    frame->setDirty();
    frame->idle();
    EXPECT_EQ(offscreen->presentedRects(), (std::vector<CRect>{CRect(0, 0, 200, 100)}));
}

TEST_F(FrameTest, ManySmallInvalidRectsMergeIntoOne)
{
    frame->idle();
    offscreen->clearPresented();
    for (int i = 0; i < 40; ++i)
        frame->invalidRect(CRect(i * 5, 0, i * 5 + 2, 2));
    frame->invalidRect(CRect(0, 0, 1, 1)); // already covered
    frame->idle();
    const auto& rects = offscreen->presentedRects();
    ASSERT_FALSE(rects.empty());
    EXPECT_LE(rects.size(), 16u);
    CRect all;
    for (const auto& r : rects)
        all.unite(r);
    EXPECT_EQ(all, CRect(0, 0, 197, 2));
}

TEST_F(FrameTest, MouseLocationComesFromTheWindow)
{
    CPoint where;
    EXPECT_FALSE(frame->getCurrentMouseLocation(where));
    offscreen->setMousePosition(CPoint(12, 34));
    ASSERT_TRUE(frame->getCurrentMouseLocation(where));
    EXPECT_EQ(where, CPoint(12, 34));
}

TEST(Frame, WithoutAParentWindowItRunsOffscreen)
{
    auto* frame = new CFrame(CRect(0, 0, 870, 101), nullptr, nullptr);
    ASSERT_NE(frame->getPlatformFrame(), nullptr);
    EXPECT_EQ(frame->getBuffer().width, 870);
    EXPECT_EQ(frame->getBuffer().height, 101);
    frame->close();
}

namespace
{
// A back end whose event handling makes the editor close its window, as a click on a
// close button would.
struct ClosingPlatform : OffscreenFrame
{
    CFrame* frame = nullptr;
    bool* destroyed = nullptr;
    bool closeNow = false;
    ~ClosingPlatform() override { *destroyed = true; }
    void processEvents() override
    {
        if (!closeNow)
            return;
        frame->close();
        // Still running here, after the close: the back end must still exist.
        EXPECT_FALSE(*destroyed);
        closeNow = false;
    }
};
} // namespace

TEST(Frame, ClosingFromInsideEventHandlingWaitsForTheHandlerToReturn)
{
    bool destroyed = false;
    auto platformFrame = std::make_unique<ClosingPlatform>();
    ClosingPlatform* platform = platformFrame.get();
    platform->destroyed = &destroyed;
    auto* frame = new CFrame(CRect(0, 0, 10, 10), std::move(platformFrame), nullptr);
    platform->frame = frame;
    frame->idle();
    EXPECT_FALSE(destroyed);
    platform->closeNow = true;
    frame->idle(); // closes and releases the frame
    EXPECT_TRUE(destroyed);
}
