// The X11 back end in a real X server: a private Xvfb, a small host window that embeds a
// frame as the plug-in's window would be, and xdotool moving the real pointer and typing.
#include "GuiTest.h"
#include "support/Xvfb.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <optional>
#include <string>
#include <thread>

class X11Test : public XvfbTest
{
protected:
    void SetUp() override
    {
        XvfbTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        host = XOpenDisplay(nullptr);
        ASSERT_NE(host, nullptr);
        XSetWindowAttributes attributes{};
        attributes.background_pixel = 0;
        attributes.event_mask = StructureNotifyMask;
        hostWindow =
            XCreateWindow(host, DefaultRootWindow(host), 0, 0, 870, 101, 0, CopyFromParent,
                          InputOutput, CopyFromParent, CWBackPixel | CWEventMask, &attributes);
        XMapWindow(host, hostWindow);
        XEvent event;
        do
            XWindowEvent(host, hostWindow, StructureNotifyMask, &event);
        while (event.type != MapNotify);

        frame =
            new CFrame(CRect(0, 0, 870, 101),
                       reinterpret_cast<void*>(static_cast<std::uintptr_t>(hostWindow)), &editor);
        auto* background = new CBitmap(CResourceDescription(128));
        frame->setBackground(background);
        background->forget();
        auto* knobs = new CBitmap(CResourceDescription(131));
        knob = new CAnimKnob(CRect(100, 25, 135, 60), &listener, 0, 101, 35, knobs);
        knobs->forget();
        knob->setValue(0.5f);
        frame->addView(knob);
        auto* kicks = new CBitmap(CResourceDescription(138));
        kick = new CKickButton(CRect(200, 20, 226, 46), &listener, 19, 26, kicks);
        kicks->forget();
        frame->addView(kick);
        auto* toggles = new CBitmap(CResourceDescription(134));
        toggle = new COnOffButton(CRect(300, 20, 321, 46), &listener, 7, toggles);
        toggles->forget();
        frame->addView(toggle);
        menu = new COptionMenu(CRect(400, 20, 413, 32), &listener, 45);
        for (const char* title : {"zero", "one", "two", "three"})
            menu->addEntry(title);
        frame->addView(menu);
        field = new CTextEdit(CRect(500, 20, 600, 35), &listener, 33, "name");
        frame->addView(field);
        pump(200);
    }

    void TearDown() override
    {
        if (frame)
            frame->close();
        if (host)
        {
            XDestroyWindow(host, hostWindow);
            XCloseDisplay(host);
        }
    }

    // Runs the host's idle loop for a while, as a host's timer would.
    void pump(int milliseconds)
    {
        pumpUntil([] { return false; }, milliseconds);
    }

    // Runs the idle loop until the condition holds: xdotool returns once it has sent its
    // events, and a busy machine may take a while to deliver them. Answers the condition.
    template <typename Condition> bool pumpUntil(Condition condition, int milliseconds = 10000)
    {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
        while (std::chrono::steady_clock::now() < end)
        {
            frame->idle();
            if (condition())
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return condition();
    }

    static void xdotool(const std::string& arguments)
    {
        ASSERT_EQ(std::system(("xdotool " + arguments).c_str()), 0) << arguments;
    }

    std::string inWindow(int x, int y) const
    {
        return "mousemove --window " + std::to_string(hostWindow) + " " + std::to_string(x) + " " +
               std::to_string(y);
    }

    Display* host = nullptr;
    Window hostWindow = 0;
    RecordingEditor editor;
    RecordingListener listener;
    CFrame* frame = nullptr;
    CAnimKnob* knob = nullptr;
    CKickButton* kick = nullptr;
    COnOffButton* toggle = nullptr;
    COptionMenu* menu = nullptr;
    CTextEdit* field = nullptr;
};

TEST_F(X11Test, TheFrameIsAChildOfTheHostWindowShowingItsPixels)
{
    Window root = 0, parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    XQueryTree(host, hostWindow, &root, &parent, &children, &count);
    ASSERT_EQ(count, 1u);
    const Window child = children[0];
    XFree(children);
    XWindowAttributes attributes;
    XGetWindowAttributes(host, child, &attributes);
    EXPECT_EQ(attributes.width, 870);
    EXPECT_EQ(attributes.height, 101);
    EXPECT_EQ(attributes.map_state, IsViewable);

    XImage* shown = XGetImage(host, child, 0, 0, 870, 101, AllPlanes, ZPixmap);
    ASSERT_NE(shown, nullptr);
    int different = 0;
    for (int y = 0; y < 101; ++y)
        for (int x = 0; x < 870; ++x)
            different +=
                (XGetPixel(shown, x, y) & 0xffffff) != (frame->getBuffer().at(x, y) & 0xffffffu);
    XDestroyImage(shown);
    EXPECT_EQ(different, 0);
}

TEST_F(X11Test, DraggingTheKnobAndClickingButtonsChangeTheirValues)
{
    xdotool(inWindow(117, 50) + " mousedown 1 " + inWindow(117, 30) + " mouseup 1");
    ASSERT_TRUE(pumpUntil([&] { return !editor.ends.empty(); }));
    EXPECT_FLOAT_EQ(knob->getValue(), 0.6f); // 20 pixels up in linear mode
    EXPECT_EQ(editor.begins, std::vector<std::int32_t>{0});
    EXPECT_EQ(editor.ends, std::vector<std::int32_t>{0});

    listener.changes.clear();
    xdotool(inWindow(210, 30) + " click 1");
    ASSERT_TRUE(pumpUntil([&] { return !listener.changes.empty(); }));
    pump(100); // and nothing more comes
    ASSERT_EQ(listener.changes.size(), 1u);
    EXPECT_EQ(listener.changes[0].tag, 19);
    EXPECT_EQ(kick->getValue(), 0.0f);

    xdotool(inWindow(310, 30) + " click 1");
    ASSERT_TRUE(pumpUntil([&] { return toggle->getValue() != 0.0f; }));
    EXPECT_EQ(toggle->getValue(), 1.0f);

    // The mouse position the editor's idle asks for.
    CPoint where;
    ASSERT_TRUE(frame->getCurrentMouseLocation(where));
    EXPECT_EQ(where, CPoint(310, 30));

    xdotool(inWindow(117, 40) + " click 4"); // wheel up
    ASSERT_TRUE(pumpUntil([&] { return knob->getValue() > 0.65f; }));
    EXPECT_NEAR(knob->getValue(), 0.7f, 1e-6f); // default increment 0.1
}

TEST_F(X11Test, TheMousePositionIsKnownOutsideTheWindowToo)
{
    // The editor's idle carries on with its displays only while it has a position.
    CPoint where;
    const auto pointerAt = [&](auto inside)
    { return frame->getCurrentMouseLocation(where) && inside(where); };
    xdotool(inWindow(310, 30));
    ASSERT_TRUE(pumpUntil([&] { return pointerAt([](CPoint p) { return p == CPoint(310, 30); }); }))
        << where.x << ", " << where.y;
    xdotool("mousemove 1000 600");
    const CRect window(0, 0, 870, 101);
    EXPECT_TRUE(
        pumpUntil([&] { return pointerAt([&](CPoint p) { return !window.pointInside(p); }); }))
        << where.x << ", " << where.y;
    EXPECT_EQ(frame->getViewAt(where), nullptr);
}

TEST_F(X11Test, TheOptionMenuPopsUpBelowTheControlAndTakesAClickOrKeys)
{
    // The press only opens the menu; the idle loop goes on, and the popup's events come
    // through it.
    std::optional<XRectangle> popup;
    const auto openMenu = [&]
    {
        xdotool(inWindow(405, 25) + " click 1");
        return pumpUntil([&] { return (popup = findPopup(host)).has_value(); });
    };
    ASSERT_TRUE(openMenu());
    EXPECT_EQ(popup->x, 400); // right below the control
    EXPECT_EQ(popup->y, 32);
    EXPECT_TRUE(menu->isPopupOpen());
    // Entry 2, 2 * 16 + 8 pixels down.
    xdotool("mousemove " + std::to_string(popup->x + 30) + " " + std::to_string(popup->y + 40) +
            " click 1");
    ASSERT_TRUE(pumpUntil([&] { return !listener.changes.empty(); }));
    EXPECT_EQ(menu->getCurrentIndex(), 2);
    EXPECT_EQ(listener.changes.back().tag, 45);
    EXPECT_FALSE(findPopup(host));
    EXPECT_FALSE(menu->isPopupOpen());

    // Down twice from nothing highlighted, then Return: entry 1.
    listener.changes.clear();
    ASSERT_TRUE(openMenu());
    xdotool("key Down Down Return");
    ASSERT_TRUE(pumpUntil([&] { return !listener.changes.empty(); }));
    EXPECT_EQ(menu->getCurrentIndex(), 1);

    // Escape, and a press outside the menu, cancel.
    listener.changes.clear();
    ASSERT_TRUE(openMenu());
    xdotool("key Escape");
    ASSERT_TRUE(pumpUntil([&] { return !findPopup(host); }));
    ASSERT_TRUE(openMenu());
    xdotool("mousemove 1000 600 click 1");
    ASSERT_TRUE(pumpUntil([&] { return !menu->isPopupOpen(); }));
    EXPECT_FALSE(findPopup(host));
    EXPECT_TRUE(listener.changes.empty());
    EXPECT_EQ(menu->getCurrentIndex(), 1);
}

TEST_F(X11Test, TypingIntoTheTextFieldAndEnterCommits)
{
    xdotool(inWindow(550, 27) + " click 1");
    ASSERT_TRUE(pumpUntil([&] { return field->isEditing(); }));
    xdotool("key End BackSpace BackSpace type --delay 20 'mo 2'"); // End keeps the selected name
    xdotool("key Return");
    ASSERT_TRUE(pumpUntil([&] { return !field->isEditing(); }));
    EXPECT_STREQ(field->getText(), "namo 2");
}

TEST_F(X11Test, TheCurrentEntryOfTheMenuCarriesATick)
{
    menu->setStyle(menu->getStyle() | kCheckStyle);
    menu->setCurrent(1);
    std::optional<XRectangle> popup;
    xdotool(inWindow(405, 25) + " click 1");
    ASSERT_TRUE(pumpUntil([&] { return (popup = findPopup(host)).has_value(); }));
    pump(100);
    // The mark's box: the first 16 pixels of a 16-pixel row; the pointer is over no entry.
    constexpr int kBox = 16;
    XImage* shown = XGetImage(host, DefaultRootWindow(host), popup->x, popup->y, kBox, 2 * kBox,
                              AllPlanes, ZPixmap);
    ASSERT_NE(shown, nullptr);
    const auto dark = [&](int x, int y) { return (XGetPixel(shown, x, y) & 0xffu) < 128; };
    int marked = 0;
    int top = kBox;
    int bottom = -1;
    for (int y = 0; y < kBox; ++y)
        for (int x = 1; x < kBox; ++x) // column 0 and row 0 are the menu's frame
        {
            EXPECT_FALSE(y > 0 && dark(x, y)) << "entry 0 is not current: " << x << ", " << y;
            if (!dark(x, kBox + y))
                continue;
            ++marked;
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    // A tick, not the outline of a glyph the font lacks: its highest pixels are at its
    // right end, its lowest left of the middle.
    EXPECT_GE(marked, 10);
    for (int x = 1; x < kBox; ++x)
    {
        EXPECT_TRUE(!dark(x, kBox + top) || x > kBox / 2) << "top row, " << x;
        EXPECT_TRUE(!dark(x, kBox + bottom) || x < kBox / 2 + 2) << "bottom row, " << x;
    }
    XDestroyImage(shown);
    xdotool("key Escape");
    EXPECT_TRUE(pumpUntil([&] { return !findPopup(host); }));
}
