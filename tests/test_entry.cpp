// The entry point and the record a host receives.
#include "support/TestPlugin.h"

#include <cstring>

TEST(Entry, HostThatAnswersVersionZeroGetsNothing)
{
    FakeHost host;
    host.script.version = 0;
    EXPECT_EQ(host.create(pluginLibrary().entry()), nullptr);
    EXPECT_EQ(host.record.versionCalls, 1);
}

TEST(Entry, MainIsTheSameEntryPoint)
{
    ASSERT_NE(pluginLibrary().entry("main"), nullptr);
    EXPECT_EQ(pluginLibrary().entry("main"), pluginLibrary().entry("VSTPluginMain"));
}

TEST(Entry, AnyNonzeroVersionGetsTheRecord)
{
    for (VstIntPtr version : {VstIntPtr{1}, VstIntPtr{2400}, VstIntPtr{-1}})
    {
        FakeHost host;
        host.script.version = version;
        PluginInstance plugin(host, pluginLibrary().entry());
        ASSERT_TRUE(plugin) << version;
        const AEffect* fx = plugin.effect();
        EXPECT_EQ(fx->magic, 0x56737450);
        EXPECT_EQ(fx->numPrograms, 1);
        EXPECT_EQ(fx->numParams, 36);
        EXPECT_EQ(fx->numInputs, 2);
        EXPECT_EQ(fx->numOutputs, 2);
        EXPECT_EQ(fx->flags, 0x31);
        EXPECT_EQ(fx->uniqueID, 0x54525641); // "TRVA"
        EXPECT_EQ(fx->version, 1);
        EXPECT_EQ(fx->initialDelay, 0);
        EXPECT_EQ(fx->resvd1, 0);
        EXPECT_EQ(fx->resvd2, 0);
        EXPECT_EQ(fx->realQualities, 0);
        EXPECT_EQ(fx->offQualities, 0);
        EXPECT_EQ(fx->ioRatio, 1.0f);
        EXPECT_NE(fx->object, nullptr);
        EXPECT_NE(fx->processReplacing, nullptr);
        EXPECT_NE(fx->processDoubleReplacing, nullptr);
        EXPECT_NE(fx->process, nullptr);
        const char zeros[sizeof fx->future] = {};
        EXPECT_EQ(std::memcmp(fx->future, zeros, sizeof zeros), 0);
        EXPECT_EQ(host.record.versionCalls, 2); // the entry point and the factory each ask
    }
}

TEST(Entry, InstancesAreIndependent)
{
    FakeHost host;
    PluginInstance first(host, pluginLibrary().entry());
    PluginInstance second(host, pluginLibrary().entry());
    ASSERT_TRUE(first);
    ASSERT_TRUE(second);
    EXPECT_NE(first.effect(), second.effect());
    EXPECT_NE(first.effect()->object, second.effect()->object);

    first.setParameter(kFbck, 0.8f);
    first.dispatch(effSetProgramName, 0, 0, const_cast<char*>("mine"));
    EXPECT_EQ(second.getParameter(kFbck), 0.0f);
    EXPECT_EQ(second.programName(), "default");

    first.close();
    EXPECT_EQ(second.getParameter(kInput), 0.5f);
    EXPECT_EQ(second.programName(), "default");
}

TEST(Entry, DeprecatedEntriesLeaveBuffersAlone)
{
    FakeHost host;
    PluginInstance plugin(host, pluginLibrary().entry());
    ASSERT_TRUE(plugin);
    float in[4] = {1, 2, 3, 4};
    float out[4] = {9, 9, 9, 9};
    float* ins[2] = {in, in};
    float* outs[2] = {out, out};
    plugin.effect()->process(plugin.effect(), ins, outs, 4);
    EXPECT_EQ(out[0], 9.0f);
    double din[4] = {1, 2, 3, 4};
    double dout[4] = {9, 9, 9, 9};
    double* dins[2] = {din, din};
    double* douts[2] = {dout, dout};
    plugin.effect()->processDoubleReplacing(plugin.effect(), dins, douts, 4);
    EXPECT_EQ(dout[3], 9.0);
}
