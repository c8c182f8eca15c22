// The toolkit's costs: a full redraw of an editor-sized frame, an idle pass with nothing
// to do, one control's redraw, and decoding every bitmap resource.
#include "gui/VSTGUI.h"
#include "gui/platform/OffscreenFrame.h"

#include <benchmark/benchmark.h>

namespace
{
const std::int32_t kBitmapIds[] = {128, 129, 130, 131, 132, 133, 134, 135, 136, 137, 138, 139,
                                   140, 141, 142, 143, 144, 145, 146, 147, 148, 149, 150, 151,
                                   152, 153, 154, 155, 990, 991, 992, 993, 994, 995, 998, 999};

// An 870 x 101 frame with a background, knobs, buttons, digits and a text display, about
// as busy as the editor's.
CFrame* makeFrame()
{
    auto* frame = new CFrame(CRect(0, 0, 870, 101), std::make_unique<OffscreenFrame>(), nullptr);
    auto* background = new CBitmap(CResourceDescription(128));
    frame->setBackground(background);
    background->forget();
    auto* knobs = new CBitmap(CResourceDescription(131));
    for (int i = 0; i < 9; ++i)
    {
        auto* knob =
            new CAnimKnob(CRect(100 + i * 60, 25, 135 + i * 60, 60), nullptr, i, 101, 35, knobs);
        knob->setValue(0.1f * static_cast<float>(i));
        frame->addView(knob);
    }
    knobs->forget();
    auto* digits = new CBitmap(CResourceDescription(140));
    for (int i = 0; i < 4; ++i)
        frame->addView(new CMovieBitmap(CRect(511 + i * 17, 32, 525 + i * 17, 52), nullptr, 21 + i,
                                        12, 20, digits));
    digits->forget();
    auto* buttons = new CBitmap(CResourceDescription(134));
    for (int i = 0; i < 6; ++i)
        frame->addView(
            new COnOffButton(CRect(20 + i * 30, 70, 41 + i * 30, 96), nullptr, 40 + i, buttons));
    buttons->forget();
    auto* display = new CParamDisplay(CRect(690, 87, 780, 99));
    display->setValue(0.5f);
    frame->addView(display);
    frame->addView(new CTextEdit(CRect(208, 86, 320, 101), nullptr, 33, "Long Delay 2"));
    return frame;
}
} // namespace

static void fullRedraw(benchmark::State& state)
{
    CFrame* frame = makeFrame();
    for (auto _ : state)
    {
        frame->setDirty();
        frame->idle();
        benchmark::DoNotOptimize(frame->getBuffer().pixels.data());
    }
    frame->close();
}
BENCHMARK(fullRedraw)->Unit(benchmark::kMicrosecond);

static void idleWithNothingToDo(benchmark::State& state)
{
    CFrame* frame = makeFrame();
    frame->idle();
    for (auto _ : state)
        frame->idle();
    frame->close();
}
BENCHMARK(idleWithNothingToDo)->Unit(benchmark::kMicrosecond);

static void oneKnobChanged(benchmark::State& state)
{
    CFrame* frame = makeFrame();
    frame->idle();
    auto* knob = static_cast<CControl*>(frame->getView(0));
    float value = 0;
    for (auto _ : state)
    {
        value = value >= 1.0f ? 0.0f : value + 0.01f;
        knob->setValue(value);
        frame->idle();
    }
    frame->close();
}
BENCHMARK(oneKnobChanged)->Unit(benchmark::kMicrosecond);

static void loadAllBitmaps(benchmark::State& state)
{
    for (auto _ : state)
        for (const auto id : kBitmapIds)
        {
            auto* bitmap = new CBitmap(CResourceDescription(id));
            benchmark::DoNotOptimize(bitmap->isLoaded());
            bitmap->forget();
        }
}
BENCHMARK(loadAllBitmaps)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
