// Each control's mouse and key behaviour, through the frame as a window would deliver it.
#include "GuiTest.h"

#include <cmath>

TEST(FrameForValue, EveryStepAndBothEndsSelectTheirFrame)
{
    for (int frames : {2, 3, 12, 21, 101})
    {
        EXPECT_EQ(frameForValue(0.0f, 0.0f, 1.0f, frames), 0);
        EXPECT_EQ(frameForValue(1.0f, 0.0f, 1.0f, frames), frames - 1);
        for (int k = 0; k < frames; ++k)
            EXPECT_EQ(frameForValue(static_cast<float>(k) / static_cast<float>(frames - 1), 0.0f,
                                    1.0f, frames),
                      k)
                << k << " of " << frames;
    }
    EXPECT_EQ(frameForValue(0.5f, 0.0f, 1.0f, 2), 1); // half way rounds up
    EXPECT_EQ(frameForValue(0.90909094f, 0.0f, 1.0f, 12), 10);
    EXPECT_EQ(frameForValue(-3.0f, 0.0f, 1.0f, 12), 0);
    EXPECT_EQ(frameForValue(7.0f, 0.0f, 1.0f, 12), 11);
    EXPECT_EQ(frameForValue(std::nanf(""), 0.0f, 1.0f, 12), 0);
    EXPECT_EQ(frameForValue(0.0f, -1.0f, 1.0f, 3), 1);
    EXPECT_EQ(frameForValue(0.3f, 0.0f, 1.0f, 1), 0);
}

TEST(Control, SetValueLimitsToTheRangeAndBounceValueLimitsAfterwards)
{
    CControl control(CRect(0, 0, 10, 10));
    control.setValue(1.5f);
    EXPECT_EQ(control.getValue(), 1.0f);
    control.setValue(-0.5f);
    EXPECT_EQ(control.getValue(), 0.0f);
    control.setMin(-1);
    control.setValue(-0.5f);
    EXPECT_EQ(control.getValue(), -0.5f);
    EXPECT_TRUE(control.isTypeOf("CControl"));
    EXPECT_TRUE(control.isTypeOf("CView"));
    EXPECT_FALSE(control.isTypeOf("CAnimKnob"));
}

TEST_F(FrameTest, EditGesturesAreCountedSoOnlyTheOutermostReachesTheEditor)
{
    auto* control = add(new CControl(CRect(0, 0, 10, 10), &listener, 7));
    control->beginEdit();
    control->beginEdit();
    control->endEdit();
    EXPECT_EQ(editor.begins, std::vector<std::int32_t>{7});
    EXPECT_TRUE(editor.ends.empty());
    control->endEdit();
    control->endEdit(); // unbalanced: ignored
    EXPECT_EQ(editor.ends, std::vector<std::int32_t>{7});
    EXPECT_FALSE(control->isEditing());
}

class KnobTest : public FrameTest
{
protected:
    void SetUp() override
    {
        FrameTest::SetUp();
        auto* bitmap = new CBitmap(CResourceDescription(131));
        knob = add(new CAnimKnob(CRect(50, 30, 85, 65), &listener, 3, 101, 35, bitmap));
        bitmap->forget();
        knob->setValue(0.5f);
        knob->setDefaultValue(0.25f);
        knob->setWheelInc(0.03125f);
        knob->setZoomFactor(5);
    }
    CAnimKnob* knob = nullptr;
};

TEST_F(KnobTest, LinearDragCoversTheRangeIn200PixelsUpOrRight)
{
    press(60, 40);
    move(60, 20); // 20 up
    EXPECT_FLOAT_EQ(knob->getValue(), 0.6f);
    move(80, 20); // and 20 right
    EXPECT_FLOAT_EQ(knob->getValue(), 0.7f);
    move(60, 80); // 40 down from the press
    EXPECT_FLOAT_EQ(knob->getValue(), 0.3f);
    move(60, 400); // far beyond the end
    EXPECT_EQ(knob->getValue(), 0.0f);
    move(60, 40); // back: measured from the press again
    EXPECT_FLOAT_EQ(knob->getValue(), 0.5f);
    release(60, 40);
    EXPECT_EQ(editor.begins, std::vector<std::int32_t>{3});
    EXPECT_EQ(editor.ends, std::vector<std::int32_t>{3});
    EXPECT_FALSE(listener.changes.empty());
    EXPECT_EQ(listener.changes.back().value, knob->getValue());
}

TEST_F(KnobTest, ShiftMakesTheDragFinerByTheZoomFactor)
{
    press(60, 40, kLButton | kShift);
    move(60, 20, kLButton | kShift); // 20 up: 20 / 1000
    EXPECT_FLOAT_EQ(knob->getValue(), 0.52f);
    move(60, 0, kLButton); // Shift released after 40 pixels: continues at 1 / 200
    EXPECT_FLOAT_EQ(knob->getValue(), 0.54f);
    move(60, -20, kLButton);
    EXPECT_FLOAT_EQ(knob->getValue(), 0.64f);
    release(60, -20, 0);
}

TEST_F(KnobTest, AltSwitchesTheDragToCircular)
{
    press(51, 63, kLButton | kAlt); // lower left of the centre (67.5, 47.5): the start
    EXPECT_NEAR(knob->getValue(), 0.0f, 0.02f);
    move(67.5, 10, kLButton | kAlt); // straight up: half way
    EXPECT_NEAR(knob->getValue(), 0.5f, 1e-5f);
    move(84, 63, kLButton | kAlt); // lower right: the end
    EXPECT_NEAR(knob->getValue(), 1.0f, 0.02f);
    release(84, 63, kAlt);
}

TEST_F(KnobTest, CtrlClickSetsTheDefaultValueAsOneGesture)
{
    press(60, 40, kLButton | kControl);
    EXPECT_EQ(knob->getValue(), 0.25f);
    EXPECT_EQ(frame->getMouseDownView(), nullptr);
    move(60, 0, kLButton | kControl);
    release(60, 0, kControl);
    EXPECT_EQ(knob->getValue(), 0.25f);
    ASSERT_EQ(listener.changes.size(), 1u);
    EXPECT_EQ(editor.begins.size(), 1u);
    EXPECT_EQ(editor.ends.size(), 1u);
}

TEST_F(KnobTest, TheWheelStepsByTheIncrementATenthWithShift)
{
    EXPECT_TRUE(frame->onWheel(CPoint(60, 40), 1.0f, CButtonState()));
    EXPECT_FLOAT_EQ(knob->getValue(), 0.53125f);
    frame->onWheel(CPoint(60, 40), -2.0f, CButtonState(kShift));
    EXPECT_FLOAT_EQ(knob->getValue(), 0.525f);
    knob->setValue(0.99f);
    frame->onWheel(CPoint(60, 40), 1.0f, CButtonState());
    EXPECT_EQ(knob->getValue(), 1.0f);
    EXPECT_EQ(listener.changes.size(), 3u);
    EXPECT_EQ(editor.begins.size(), 3u);
    frame->onWheel(CPoint(60, 40), 1.0f, CButtonState()); // at the end: no change, no news
    EXPECT_EQ(listener.changes.size(), 3u);
    EXPECT_FALSE(frame->onWheel(CPoint(5, 5), 1.0f, CButtonState())); // nothing there
}

TEST_F(KnobTest, CircularIsTheDefaultWithoutTheLinearMode)
{
    editor.knobMode = kCircularMode;
    press(67.5, 31); // straight above the centre
    EXPECT_NEAR(knob->getValue(), 0.5f, 1e-5f);
    move(84, 63);
    EXPECT_NEAR(knob->getValue(), 1.0f, 0.02f);
    release(84, 63);
}

TEST_F(FrameTest, KickButtonNotifiesOncePerClickAndNotWhenReleasedOutside)
{
    auto* button = add(new CKickButton(CRect(10, 10, 36, 36), &listener, 19, 26, nullptr));
    press(20, 20);
    EXPECT_EQ(button->getValue(), 1.0f);
    EXPECT_TRUE(listener.changes.empty());
    move(100, 100); // off: shows released
    EXPECT_EQ(button->getValue(), 0.0f);
    move(20, 20); // back on
    EXPECT_EQ(button->getValue(), 1.0f);
    release(20, 20);
    EXPECT_EQ(button->getValue(), 0.0f);
    ASSERT_EQ(listener.changes.size(), 1u);
    EXPECT_EQ(listener.changes[0].value, 1.0f);

    press(20, 20);
    move(100, 100);
    release(100, 100);
    EXPECT_EQ(listener.changes.size(), 1u);
    EXPECT_EQ(editor.begins.size(), 2u);
    EXPECT_EQ(editor.ends.size(), 2u);
    EXPECT_EQ(press(20, 20, kRButton), kMouseEventNotHandled);
}

TEST_F(FrameTest, OnOffButtonTogglesOnPress)
{
    auto* button = add(new COnOffButton(CRect(10, 10, 30, 30), &listener, 7, nullptr));
    EXPECT_EQ(press(15, 15), kMouseDownEventHandledButDontNeedMovedOrUpEvents);
    EXPECT_EQ(button->getValue(), 1.0f);
    release(15, 15);
    click(15, 15);
    EXPECT_EQ(button->getValue(), 0.0f);
    ASSERT_EQ(listener.changes.size(), 2u);
    EXPECT_EQ(listener.changes[0].value, 1.0f);
    EXPECT_EQ(listener.changes[1].value, 0.0f);
    click(15, 15, kRButton);
    EXPECT_EQ(listener.changes.size(), 2u);
}

TEST_F(FrameTest, RockerGivesMinusOneOrPlusOneByHalfAndTheMiddleOnRelease)
{
    auto* rocker = add(new CRockerSwitch(CRect(40, 10, 70, 23), &listener, 34, 13, nullptr));
    press(54, 15); // left of the middle (55)
    EXPECT_EQ(rocker->getValue(), -1.0f);
    release(54, 15);
    EXPECT_EQ(rocker->getValue(), 0.0f);
    press(55, 15); // the middle itself counts as right
    EXPECT_EQ(rocker->getValue(), 1.0f);
    move(41, 15); // sliding to the other half
    EXPECT_EQ(rocker->getValue(), -1.0f);
    release(41, 15);
    std::vector<float> values;
    for (const auto& change : listener.changes)
        values.push_back(change.value);
    EXPECT_EQ(values, (std::vector<float>{-1, 0, 1, -1, 0}));
}

TEST_F(FrameTest, HorizontalSwitchTakesThePartUnderTheMouse)
{
    auto* bitmap = new CBitmap(CResourceDescription(155));
    auto* toggle =
        add(new CHorizontalSwitch(CRect(10, 10, 25, 20), &listener, 15, 2, 10, 2, bitmap));
    bitmap->forget();
    press(17, 15); // 7 pixels in: the left half of 7.5
    EXPECT_EQ(toggle->getValue(), 0.0f);
    move(18, 15);
    EXPECT_EQ(toggle->getValue(), 1.0f);
    move(100, 15); // beyond the right edge: still the last position
    EXPECT_EQ(toggle->getValue(), 1.0f);
    release(100, 15);
    ASSERT_EQ(listener.changes.size(), 1u);

    auto* three =
        add(new CHorizontalSwitch(CRect(100, 10, 130, 20), &listener, 16, 3, 10, 3, nullptr));
    click(125, 15);
    EXPECT_EQ(three->getValue(), 1.0f);
    click(115, 15);
    EXPECT_EQ(three->getValue(), 0.5f);
}

TEST_F(FrameTest, TextEditTypesEditsCommitsAndCancels)
{
    auto* field = add(new CTextEdit(CRect(10, 10, 120, 25), &listener, 33, "Init"));
    click(60, 15);
    ASSERT_TRUE(field->isEditing());
    EXPECT_EQ(frame->getFocusView(), field);
    EXPECT_EQ(field->getSelectionAnchor(), 0u); // the click selects the whole text
    EXPECT_EQ(field->getCaret(), 4u);
    key(0, VKEY_RIGHT); // keeps it, the caret at its end
    EXPECT_EQ(field->getSelectionAnchor(), 4u);
    type("al");
    key(0, VKEY_LEFT);
    key(0, VKEY_LEFT);
    key(0, VKEY_BACK);   // removes the "t"
    key(0, VKEY_DELETE); // removes the "a"
    EXPECT_EQ(field->getEditText(), "Inil");
    key(0, VKEY_HOME);
    type("X");
    key(0, VKEY_END);
    key(0, VKEY_SPACE);
    key(0xe9); // a non-ASCII character arrives as its code point
    EXPECT_EQ(field->getEditText(), "XInil \xc3\xa9");
    key(0, VKEY_BACK); // one character, two bytes
    EXPECT_EQ(field->getEditText(), "XInil ");
    EXPECT_STREQ(field->getText(), "Init"); // nothing committed yet
    EXPECT_TRUE(listener.changes.empty());
    EXPECT_EQ(key(0, VKEY_RETURN), 1);
    EXPECT_STREQ(field->getText(), "XInil ");
    EXPECT_FALSE(field->isEditing());
    EXPECT_EQ(frame->getFocusView(), nullptr);
    EXPECT_EQ(listener.changes.size(), 1u);
    EXPECT_EQ(editor.begins, std::vector<std::int32_t>{33});

    click(60, 15);
    type("zz");
    EXPECT_EQ(key(0, VKEY_ESCAPE), 1);
    EXPECT_STREQ(field->getText(), "XInil ");
    EXPECT_EQ(listener.changes.size(), 1u);
    EXPECT_EQ(key('q'), -1); // not editing: not used
}

TEST_F(FrameTest, TextEditCommitsWhenItLosesTheFocus)
{
    auto* field = add(new CTextEdit(CRect(10, 10, 120, 25), &listener, 33, "A"));
    auto* other = add(new ProbeView(CRect(150, 0, 200, 50)));
    click(60, 15);
    type("B"); // in place of the selected "A"
    type("C");
    key('c', 0, kKeyCommand); // shortcuts are not text
    click(160, 10);
    EXPECT_STREQ(field->getText(), "BC");
    EXPECT_FALSE(field->isEditing());
    EXPECT_EQ(listener.changes.size(), 1u);
    EXPECT_EQ(other->events.front(), "down");
}

TEST_F(FrameTest, OptionMenuShowsEntriesAndTakesTheChoice)
{
    auto* menu =
        add(new COptionMenu(CRect(10, 10, 23, 22), &listener, 45, nullptr, nullptr, 0x1e00));
    for (int i = 0; i < 17; ++i)
        menu->addEntry(("Program " + std::to_string(i)).c_str());
    menu->setNbItemsPerColumn(17);
    menu->setCurrent(3);
    EXPECT_EQ(menu->getMax(), 16.0f);

    offscreen->queueMenuChoice(16);
    click(15, 15);
    ASSERT_EQ(offscreen->menuRequests().size(), 1u);
    const auto& request = offscreen->menuRequests()[0];
    EXPECT_EQ(request.items.size(), 17u);
    EXPECT_EQ(request.itemsPerColumn, 17);
    EXPECT_EQ(request.anchor, CRect(10, 10, 23, 22));
    for (int i = 0; i < 17; ++i)
        EXPECT_EQ(request.items[static_cast<std::size_t>(i)].checked, i == 3);
    EXPECT_EQ(menu->getCurrentIndex(), 16);
    EXPECT_STREQ(menu->getCurrent()->getTitle(), "Program 16");
    ASSERT_EQ(listener.changes.size(), 1u);
    EXPECT_EQ(listener.changes[0].value, 16.0f);

    click(15, 15); // cancelled
    EXPECT_EQ(menu->getCurrentIndex(), 16);
    EXPECT_EQ(listener.changes.size(), 1u);

    menu->getEntry(16)->setTitle("Renamed");
    EXPECT_STREQ(menu->getCurrent()->getTitle(), "Renamed");
    EXPECT_EQ(menu->getEntry(17), nullptr);

    // Only an entry made as a separator is one; a title of "-" is text to choose.
    menu->getEntry(0)->setTitle("-");
    menu->addSeparator(1);
    offscreen->queueMenuChoice(1);
    click(15, 15);
    EXPECT_EQ(menu->getCurrentIndex(), 16);
    offscreen->queueMenuChoice(0);
    click(15, 15);
    EXPECT_EQ(menu->getCurrentIndex(), 0);
    EXPECT_EQ(listener.changes.size(), 2u);
    const auto& items = offscreen->menuRequests().back().items;
    ASSERT_EQ(items.size(), 18u);
    EXPECT_FALSE(items[0].separator);
    EXPECT_TRUE(items[1].separator);
}

static bool controllerName(float value, char text[256], void* userData)
{
    const int index = static_cast<int>(value * 130.0f);
    std::snprintf(text, 256, "%s %d", static_cast<const char*>(userData), index);
    return true;
}

TEST(ParamDisplay, ShowsTheValueThroughItsProcedure)
{
    CParamDisplay display(CRect(0, 0, 90, 12));
    display.setValue(0.25f);
    EXPECT_EQ(display.getDisplayText(), "0.25");
    char prefix[] = "control";
    display.setValueToStringProc(controllerName, prefix);
    display.setValue((102 + 0.5f) / 130);
    EXPECT_EQ(display.getDisplayText(), "control 102");
}

TEST_F(FrameTest, SplashScreenShowsModallyUntilClickedOrUnsplashed)
{
    auto* bitmap = new CBitmap(CResourceDescription(129));
    auto* splash = add(
        new CSplashScreen(CRect(150, 10, 190, 30), &listener, 32, bitmap, CRect(0, 0, 200, 100)));
    bitmap->forget();
    auto* below = add(new ProbeView(CRect(0, 0, 100, 100)));
    below->setVisible(true);
    frame->removeView(below, false);
    frame->addView(below); // now above the splash control, but the modal view wins

    click(160, 20);
    EXPECT_EQ(splash->getValue(), 1.0f);
    EXPECT_EQ(frame->getModalView(), splash);
    click(10, 10); // anywhere on the display closes it
    EXPECT_EQ(splash->getValue(), 0.0f);
    EXPECT_EQ(frame->getModalView(), nullptr);
    EXPECT_TRUE(below->events.empty() || below->events == std::vector<std::string>{"entered"});
    EXPECT_TRUE(listener.changes.empty()); // showing it is no parameter change

    click(160, 20);
    splash->unSplash();
    EXPECT_EQ(frame->getModalView(), nullptr);
    EXPECT_EQ(splash->getViewSize(), CRect(150, 10, 190, 30));
    EXPECT_EQ(splash->getNbReference(), 1);
}

TEST_F(FrameTest, FileSelectorPassesTheRequestAndReturnsTheChoice)
{
    offscreen->queueFileChoice(std::string("/tmp/a.qel"));
    auto* selector = CNewFileSelector::create(frame, CNewFileSelector::kSelectSaveFile);
    selector->setTitle("Save preset");
    selector->setInitialDirectory("/tmp/");
    selector->setDefaultSaveName("a.qel");
    selector->addFileExtension(CFileExtension("QEL Preset", "qel"));
    std::vector<std::string> answers;
    const auto answered = [&](CNewFileSelector* chosen)
    {
        answers.push_back(chosen->getNumSelectedFiles() == 1 ? chosen->getSelectedFile(0)
                                                             : "cancelled");
    };
    ASSERT_TRUE(selector->run(answered));
    ASSERT_TRUE(selector->run(answered));
    EXPECT_EQ(answers, (std::vector<std::string>{"/tmp/a.qel", "cancelled"}));
    EXPECT_EQ(selector->getSelectedFile(0), nullptr);
    EXPECT_EQ(selector->getNbReference(), 1); // a run keeps it only until it has answered
    selector->forget();

    const auto& request = offscreen->fileRequests().at(0);
    EXPECT_TRUE(request.save);
    EXPECT_EQ(request.title, "Save preset");
    EXPECT_EQ(request.initialDirectory, "/tmp/");
    EXPECT_EQ(request.defaultName, "a.qel");
    ASSERT_EQ(request.extensions.size(), 1u);
    EXPECT_EQ(request.extensions[0].description, "QEL Preset");
    EXPECT_EQ(request.extensions[0].extension, "qel");
}
