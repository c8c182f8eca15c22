// The entry points a host may call on its audio thread (processReplacing, effProcessEvents,
// setParameter, getParameter) never allocate, lock, wait, sleep or touch a file: every
// factory program, MIDI controllers and MIDI learn, automation of every parameter, blocks
// of 1 to 4096 frames, the editor closed and open. The host's own answers (the time info)
// are the host's business and are not counted.
#include "RealtimeGuard.h"
#include "ThreadedHost.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <sstream>
#include <thread>

using realtime::Call;
using realtime::NonRealtimeScope;
using realtime::RealtimeScope;

namespace
{
class RealtimeHost : public ThreadedHost
{
protected:
    VstIntPtr answer(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                     float opt) override
    {
        const NonRealtimeScope host;
        return ThreadedHost::answer(opcode, index, value, ptr, opt);
    }
};

std::string describe(const realtime::Calls& calls)
{
    std::ostringstream text;
    text << calls.total << " calls, the first " << realtime::callName(calls.first) << " in "
         << (calls.firstEntry != nullptr ? calls.firstEntry : "?") << "; in all:";
    for (int k = 0; k < static_cast<int>(Call::count); ++k)
        if (calls.counts[static_cast<std::size_t>(k)] != 0)
            text << ' ' << realtime::callName(static_cast<Call>(k)) << " x"
                 << calls.counts[static_cast<std::size_t>(k)];
    return text.str();
}

// The optimiser may not remove an allocation whose address escapes.
void* volatile escaped = nullptr;
} // namespace

TEST(RealtimeGuard, CountsOnlyInsideARealtimeScopeOnItsOwnThread)
{
    realtime::takeCalls();
    {
        auto outside = std::make_unique<int>(1);
        escaped = outside.get();
    }
    EXPECT_EQ(realtime::takeCalls().total, 0u);

    std::mutex mutex;
    {
        const RealtimeScope scope("a test");
        auto* p = new int(2);
        escaped = p;
        delete p;
        void* (*volatile allocate)(std::size_t) = &std::malloc;
        void* block = allocate(16);
        escaped = block;
        std::free(block);
        mutex.lock();
        mutex.unlock();
        std::this_thread::yield();
        std::this_thread::sleep_for(std::chrono::microseconds(1));
        {
            const NonRealtimeScope host;
            escaped = new int(3); // the host's own, not counted
            delete static_cast<int*>(escaped);
        }
    }
    const realtime::Calls calls = realtime::takeCalls();
    EXPECT_EQ(calls.first, Call::operatorNew);
    EXPECT_STREQ(calls.firstEntry, "a test");
    EXPECT_EQ(calls.counts[static_cast<int>(Call::operatorNew)], 1u);
    EXPECT_EQ(calls.counts[static_cast<int>(Call::operatorDelete)], 1u);
    EXPECT_EQ(calls.counts[static_cast<int>(Call::malloc)], 1u);
    EXPECT_EQ(calls.counts[static_cast<int>(Call::free)], 1u);
    EXPECT_EQ(calls.counts[static_cast<int>(Call::mutexLock)], 1u);
    EXPECT_EQ(calls.counts[static_cast<int>(Call::yield)], 1u);
    EXPECT_EQ(calls.counts[static_cast<int>(Call::sleep)], 1u);

    // Another thread's calls are its own.
    std::atomic<int> step{0};
    std::thread other(
        [&]
        {
            while (step.load() == 0)
            {
            }
            escaped = new int(4);
            step = 2;
        });
    {
        const RealtimeScope scope("a test");
        step = 1;
        while (step.load() != 2)
        {
        }
    }
    other.join();
    delete static_cast<int*>(escaped);
    EXPECT_EQ(realtime::takeCalls().total, 0u);
}

TEST(RealtimeEntryPoints, NeverAllocateLockOrWait)
{
    RealtimeHost host;
    host.tempo = 133.0;
    PluginInstance plugin(host.create(linkedEntry()));
    ASSERT_TRUE(plugin);
    AEffect* fx = plugin.effect();
    plugin.start(44100.0f, 4096);
    const std::vector<std::byte> factory = plugin.getChunk();

    std::vector<float> inL(4096);
    std::vector<float> inR(4096);
    std::vector<float> outL(4096);
    std::vector<float> outR(4096);
    unsigned noise = 1;
    for (std::size_t i = 0; i < inL.size(); ++i)
    {
        noise = noise * 1664525u + 1013904223u;
        inL[i] = static_cast<float>(noise >> 8) / 16777216.0f - 0.5f;
        inR[i] = 0.5f * inL[i];
    }

    MidiBlock midi;
    long round = 0;
    for (const bool editorOpen : {false, true})
        for (const VstInt32 blockSize : {1, 64, 512, 4096})
        {
            plugin.suspend();
            plugin.dispatch(effSetBlockSize, 0, blockSize);
            plugin.dispatch(effMainsChanged, 0, 1);
            if (editorOpen)
            {
                ASSERT_EQ(plugin.dispatch(effEditOpen, 0, 0, nullptr), 1);
            }
            const long blocks = std::max<long>(4, 2048 / blockSize);
            for (int program = 0; program < kNumPrograms; ++program)
            {
                ASSERT_EQ(plugin.setChunk(withCurrentProgram(factory, program)), 0);
                realtime::takeCalls();
                for (long b = 0; b < blocks; ++b, ++round)
                {
                    // The user-interface thread's part: learn on at the start, clear half way.
                    if (editorOpen && (b == 0 || b == blocks / 2))
                    {
                        CFrame* frame = editorFrame(fx);
                        operate(controlWithTag(frame, b == 0 ? kLearnTag : kClearTag), 1.0f);
                        plugin.dispatch(effEditIdle);
                    }
                    midi.clear();
                    for (int k = 0; k < 3; ++k)
                    {
                        const int controller =
                            kBoundControllers[(round * 3 + k) % std::size(kBoundControllers)];
                        midi.controlChange(k, controller, static_cast<int>((round * 37 + k) % 128),
                                           k * (blockSize / 4));
                    }
                    midi.controlChange(0, 21,
                                       static_cast<int>(round % 128)); // learned, if learning
                    {
                        const RealtimeScope scope("effProcessEvents");
                        fx->dispatcher(fx, effProcessEvents, 0, 0, midi.events(), 0.0f);
                    }
                    for (int index = 0; index < kNumParameters; ++index)
                    {
                        float value = 0.0f;
                        {
                            const RealtimeScope scope("getParameter");
                            value = fx->getParameter(fx, index);
                        }
                        // Controls sweep; controller assignments are set as they are.
                        if (isControl(index))
                            value = static_cast<float>((round * 7 + index * 11) % 64) / 63.0f;
                        const RealtimeScope scope("setParameter");
                        fx->setParameter(fx, index, value);
                    }
                    const std::size_t offset = static_cast<std::size_t>(
                        (round * 97) % static_cast<long>(inL.size() - blockSize + 1));
                    float* inputs[] = {inL.data() + offset, inR.data() + offset};
                    float* outputs[] = {outL.data(), outR.data()};
                    const RealtimeScope scope("processReplacing");
                    fx->processReplacing(fx, inputs, outputs, blockSize);
                }
                const realtime::Calls calls = realtime::takeCalls();
                EXPECT_EQ(calls.total, 0u)
                    << "blocks of " << blockSize << ", program " << program << ", editor "
                    << (editorOpen ? "open" : "closed") << ": " << describe(calls);
            }
            if (editorOpen)
                plugin.dispatch(effEditClose);
        }
    EXPECT_GT(host.timeQueries.load(), 0);

    // Not vacuous: the same scope around an allocation counts it.
    {
        const RealtimeScope scope("processReplacing");
        escaped = new float[16];
        delete[] static_cast<float*>(escaped);
    }
    EXPECT_EQ(realtime::takeCalls().counts[static_cast<int>(Call::operatorNew)], 1u);
}
