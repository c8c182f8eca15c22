// The dispatcher's answers, opcode by opcode, as a host sees them.
#include "support/TestPlugin.h"

#include "effect/QEL.h"

#include <cstring>
#include <string>

using Dispatcher = HostTest;

TEST_F(Dispatcher, FixedAnswers)
{
    EXPECT_EQ(plugin->dispatch(effGetVstVersion), 2400);
    EXPECT_EQ(plugin->dispatch(effIdentify), 0x4E764566); // "NvEf"
    EXPECT_EQ(plugin->dispatch(effGetPlugCategory), 0);
    EXPECT_EQ(plugin->dispatch(effGetTailSize), 0);
    EXPECT_EQ(plugin->dispatch(effGetVendorVersion), 0);
    EXPECT_EQ(plugin->dispatch(effGetCurrentMidiProgram), -1);
    EXPECT_EQ(plugin->dispatch(effSetTotalSampleToProcess, 0, 4096), 4096);
    EXPECT_EQ(plugin->dispatch(effString2Parameter, 0, 0, const_cast<char*>("1")), 0);
    EXPECT_EQ(plugin->dispatch(effOpen), 0);
}

TEST_F(Dispatcher, UnknownAndUnsupportedOpcodesAnswerZero)
{
    for (VstInt32 opcode : {9,  16, 17, 18, 20, 21, 28, 30, 31, 32, 33, 34, 36,  37,     38, 39,
                            40, 41, 42, 43, 44, 46, 50, 53, 54, 55, 57, 62, 64,  65,     66, 67,
                            68, 70, 71, 72, 74, 75, 76, 77, 78, 79, 80, 81, 200, 100000, -1})
        EXPECT_EQ(plugin->dispatch(opcode), 0) << "opcode " << opcode;
    // None of them changed anything.
    EXPECT_EQ(plugin->getParameter(kInput), 0.5f);
    EXPECT_EQ(plugin->programName(), "default");
}

TEST_F(Dispatcher, IdentityStrings)
{
    char buffer[256];
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(plugin->dispatch(effGetEffectName, 0, 0, buffer), 1);
    EXPECT_STREQ(buffer, "Morvane TARVA");
    EXPECT_EQ(std::string(buffer, 16), std::string("Morvane TARVA\0\0\0", 16));
    EXPECT_EQ(buffer[16], 'x'); // nothing beyond the field

    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(plugin->dispatch(effGetProductString, 0, 0, buffer), 1);
    EXPECT_STREQ(buffer, "Morvane TARVA - the echoes of the past, the sound of the future!");
    EXPECT_EQ(std::strlen(buffer), 64u);
    EXPECT_EQ(buffer[65], 'x');

    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(plugin->dispatch(effGetVendorString, 0, 0, buffer), 1);
    EXPECT_GT(std::strlen(buffer), 0u);
    EXPECT_LT(std::strlen(buffer), 60u);
}

TEST_F(Dispatcher, TextOpcodesWithoutBufferAreSafe)
{
    for (VstInt32 opcode :
         {effGetEffectName, effGetVendorString, effGetProductString, effGetParamName,
          effGetParamLabel, effGetParamDisplay, effGetProgramName, effSetProgramName,
          effGetProgramNameIndexed, effCanDo, effGetParameterProperties, effGetChunk,
          effProcessEvents, effEditGetRect, effGetSpeakerArrangement})
        EXPECT_LE(plugin->dispatch(opcode, 0, 0, nullptr), 0) << "opcode " << opcode;
    EXPECT_EQ(plugin->dispatch(effSetChunk, 0, 1736, nullptr), -1);
}

TEST_F(Dispatcher, CanDoReceiveMidiFollowsTheHost)
{
    char question[] = "receiveVstMidiEvent";
    host.script.sendMidiAnswer = 1;
    EXPECT_EQ(plugin->dispatch(effCanDo, 0, 0, question), 1);
    ASSERT_FALSE(host.record.canDoQuestions.empty());
    EXPECT_EQ(host.record.canDoQuestions.back(), "sendVstMidiEvent");

    host.script.sendMidiAnswer = 0;
    EXPECT_EQ(plugin->dispatch(effCanDo, 0, 0, question), 0);
    host.script.sendMidiAnswer = -1; // any nonzero answer counts as yes
    EXPECT_EQ(plugin->dispatch(effCanDo, 0, 0, question), 1);

    for (const char* other : {"receiveVstTimeInfo", "bypass", "", "receivevstmidievent",
                              "receiveVstMidiEvents", "sendVstMidiEvent"})
    {
        std::string text = other;
        EXPECT_EQ(plugin->dispatch(effCanDo, 0, 0, text.data()), 0) << other;
    }
}

TEST_F(Dispatcher, HostSeesOneProgramThatNeverChanges)
{
    for (VstIntPtr program : {1, 5, 16, 17, -3})
    {
        EXPECT_EQ(plugin->dispatch(effSetProgram, 0, program), 0);
        EXPECT_EQ(plugin->dispatch(effGetProgram), 0);
    }
    EXPECT_EQ(plugin->programName(), "default");
    EXPECT_EQ(plugin->getParameter(kInput), 0.5f);
}

TEST_F(Dispatcher, EveryIndexCanBeAutomated)
{
    for (VstInt32 index : {0, 17, 35, 100, -1})
        EXPECT_EQ(plugin->dispatch(effCanBeAutomated, index), 1) << index;
}

TEST_F(Dispatcher, SpeakerArrangementPointersAreCleared)
{
    int dummyA = 0;
    int dummyB = 0;
    void* inputArrangement = &dummyA;
    void* outputArrangement = &dummyB;
    EXPECT_EQ(plugin->dispatch(effGetSpeakerArrangement, 0,
                               reinterpret_cast<VstIntPtr>(&inputArrangement), &outputArrangement),
              0);
    EXPECT_EQ(inputArrangement, nullptr);
    EXPECT_EQ(outputArrangement, nullptr);
}

TEST_F(Dispatcher, EditorOpensIdlesAndClosesWithoutAWindow)
{
    ERect* rect = nullptr;
    EXPECT_EQ(plugin->dispatch(effEditGetRect, 0, 0, &rect), 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->top, 0);
    EXPECT_EQ(rect->left, 0);
    EXPECT_EQ(rect->bottom, 101);
    EXPECT_EQ(rect->right, 870);
    // No parent window: the editor draws offscreen.
    EXPECT_EQ(plugin->dispatch(effEditOpen, 0, 0, nullptr), 1);
    EXPECT_EQ(plugin->dispatch(effEditIdle), 0);
    EXPECT_EQ(plugin->dispatch(effEditClose), 0);
    EXPECT_EQ(plugin->dispatch(effEditIdle), 0); // closed: nothing to do
    EXPECT_EQ(plugin->dispatch(effEditKeyDown, 'a', 0, nullptr, 0.0f), 0);
    EXPECT_EQ(plugin->dispatch(effEditKeyUp, 'a', 0, nullptr, 0.0f), 0);
    EXPECT_EQ(plugin->dispatch(effSetEditKnobMode, 0, 2), 1);
}

TEST_F(Dispatcher, ResumeAsksForMidiEveryTime)
{
    plugin->start(44100.0f, 512);
    EXPECT_EQ(host.record.wantMidiCalls, 1);
    plugin->suspend();
    plugin->dispatch(effMainsChanged, 0, 1);
    EXPECT_EQ(host.record.wantMidiCalls, 2);
}

TEST_F(Dispatcher, CloseAnswersOneAndDeletesTheInstance)
{
    // The record goes with the object; LeakSanitizer checks that nothing is left behind.
    EXPECT_EQ(plugin->close(), 1);
    EXPECT_EQ(plugin->effect(), nullptr);
}

TEST(DispatcherLifecycle, CloseWithoutResumeFreesEverything)
{
    FakeHost host;
    for (int i = 0; i < 3; ++i)
    {
        AEffect* fx = host.create(pluginLibrary().entry());
        ASSERT_NE(fx, nullptr);
        EXPECT_EQ(fx->dispatcher(fx, effClose, 0, 0, nullptr, 0.0f), 1);
    }
}

using HostCalls = EffectTest;

TEST_F(HostCalls, WrappersCallTheHostWithTheirOpcodes)
{
    QEL& fx = effect();
    fx.beginEdit(6);
    fx.endEdit(6);
    EXPECT_EQ(host.record.beginEdits, std::vector<VstInt32>{6});
    EXPECT_EQ(host.record.endEdits, std::vector<VstInt32>{6});

    fx.masterIdle();
    EXPECT_EQ(host.record.idleCalls, 1);

    const int displays = host.record.updateDisplayCalls;
    fx.updateDisplay();
    EXPECT_EQ(host.record.updateDisplayCalls, displays + 1);

    host.script.tempo = 93.5;
    const VstTimeInfo* time = fx.getTimeInfo(kVstTempoValid);
    ASSERT_NE(time, nullptr);
    EXPECT_EQ(time->tempo, 93.5);
    host.script.timeInfoAvailable = false;
    EXPECT_EQ(fx.getTimeInfo(kVstTempoValid), nullptr);
}

TEST_F(HostCalls, PinAnswerZeroMeansConnected)
{
    QEL& fx = effect();
    EXPECT_TRUE(fx.isInputConnected(1));
    EXPECT_TRUE(fx.isOutputConnected(1));
    host.script.inputPinConnected = false;
    EXPECT_FALSE(fx.isInputConnected(1));
    EXPECT_TRUE(fx.isOutputConnected(1));
    host.script.outputPinConnected = false;
    EXPECT_FALSE(fx.isOutputConnected(1));
}

TEST(HostCallsWithoutHost, AnswerZeroButPinsCountAsConnected)
{
    // Built directly: a host callback of null is refused at the entry point.
    QEL fx(nullptr);
    EXPECT_EQ(fx.getTimeInfo(kVstTempoValid), nullptr);
    EXPECT_EQ(fx.canHostDo("sendVstMidiEvent"), 0);
    EXPECT_FALSE(fx.updateDisplay());
    EXPECT_TRUE(fx.isInputConnected(1));
    EXPECT_TRUE(fx.isOutputConnected(1));
    char question[] = "receiveVstMidiEvent";
    EXPECT_EQ(fx.canDo(question), 0);
    fx.resume(); // asks for MIDI from nobody
    EXPECT_EQ(fx.getParameter(kInput), 0.5f);
}

TEST(EntryWithoutHost, NullCallbackGetsNothing)
{
    EXPECT_EQ(inProcessEntry()(nullptr), nullptr);
}
