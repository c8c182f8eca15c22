// Frames without a window, synthetic mouse and key events, and recording listeners and
// editors, for the toolkit's tests.
#pragma once

#include "gui/VSTGUI.h"
#include "gui/platform/OffscreenFrame.h"

#include <gtest/gtest.h>

#include <vector>

struct RecordingListener : CControlListener
{
    struct Change
    {
        std::int32_t tag;
        float value;
    };
    std::vector<Change> changes;
    void valueChanged(CControl* control) override
    {
        changes.push_back({control->getTag(), control->getValue()});
    }
};

struct RecordingEditor : VSTGUIEditorInterface
{
    std::vector<std::int32_t> begins;
    std::vector<std::int32_t> ends;
    std::int32_t knobMode = kLinearMode;
    void beginEdit(std::int32_t index) override { begins.push_back(index); }
    void endEdit(std::int32_t index) override { ends.push_back(index); }
    std::int32_t getKnobMode() const override { return knobMode; }
};

// A view that records what reaches it and answers as told.
struct ProbeView : CView
{
    explicit ProbeView(const CRect& size, CMouseEventResult answer = kMouseEventHandled,
                       int* destroyed = nullptr)
        : CView(size), answer(answer), destroyed(destroyed)
    {
    }
    ~ProbeView() override
    {
        if (destroyed)
            ++*destroyed;
    }
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState&) override
    {
        events.push_back("down");
        last = where;
        return answer;
    }
    CMouseEventResult onMouseMoved(CPoint& where, const CButtonState&) override
    {
        events.push_back("moved");
        last = where;
        return kMouseEventHandled;
    }
    CMouseEventResult onMouseUp(CPoint& where, const CButtonState&) override
    {
        events.push_back("up");
        last = where;
        return kMouseEventHandled;
    }
    CMouseEventResult onMouseEntered(CPoint&, const CButtonState&) override
    {
        events.push_back("entered");
        return kMouseEventHandled;
    }
    CMouseEventResult onMouseExited(CPoint&, const CButtonState&) override
    {
        events.push_back("exited");
        return kMouseEventHandled;
    }
    CMouseEventResult answer;
    int* destroyed;
    std::vector<std::string> events;
    CPoint last;
};

class FrameTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        auto platformFrame = std::make_unique<OffscreenFrame>();
        offscreen = platformFrame.get();
        frame = new CFrame(CRect(0, 0, 200, 100), std::move(platformFrame), &editor);
    }
    void TearDown() override
    {
        if (frame)
            frame->close();
    }

    template <class T> T* add(T* view)
    {
        frame->addView(view);
        return view;
    }
    CMouseEventResult press(double x, double y, std::int32_t buttons = kLButton)
    {
        CPoint p(x, y);
        return frame->onMouseDown(p, CButtonState(buttons));
    }
    void move(double x, double y, std::int32_t buttons = kLButton)
    {
        CPoint p(x, y);
        frame->onMouseMoved(p, CButtonState(buttons));
    }
    void release(double x, double y, std::int32_t buttons = kLButton)
    {
        CPoint p(x, y);
        frame->onMouseUp(p, CButtonState(buttons));
    }
    void click(double x, double y, std::int32_t buttons = kLButton)
    {
        press(x, y, buttons);
        release(x, y, buttons);
    }
    std::int32_t key(std::int32_t character, std::uint8_t virt = 0, std::uint8_t modifier = 0)
    {
        CKeyCode code;
        code.character = character;
        code.virt = virt;
        code.modifier = modifier;
        return frame->onKeyDown(code);
    }
    void type(const char* text)
    {
        for (const char* p = text; *p; ++p)
            key(static_cast<unsigned char>(*p));
    }

    RecordingEditor editor;
    RecordingListener listener;
    OffscreenFrame* offscreen = nullptr;
    CFrame* frame = nullptr;
};
