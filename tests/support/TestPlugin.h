// Fixtures that drive TARVA as a host does.
#pragma once

#include "FakeHost.h"
#include "effect/ParameterIndex.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <memory>

class QEL;
class CPresetSystemEditor;

// The built plug-in library, loaded once for the whole test run.
PluginLibrary& pluginLibrary();

// The same entry point linked into the test itself, for tests that also reach the
// effect's C++ operations (learn and clear modes, the editor's calls).
VstEntryProc inProcessEntry();
QEL& effectOf(PluginInstance& plugin); // only for instances made through inProcessEntry()
CPresetSystemEditor& editorOf(PluginInstance& plugin); // likewise
// Changes one stored value of a program, as a whole-program command.
void setProgramValue(QEL& effect, int program, int control, float value);

// A fresh instance of the loaded library per test.
class HostTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(pluginLibrary().isLoaded()) << pluginLibrary().error();
        plugin = std::make_unique<PluginInstance>(host, pluginLibrary().entry());
        ASSERT_TRUE(*plugin);
    }

    FakeHost host;
    std::unique_ptr<PluginInstance> plugin;
};

// A fresh in-process instance per test, with its effect object at hand.
class EffectTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        plugin = std::make_unique<PluginInstance>(host, inProcessEntry());
        ASSERT_TRUE(*plugin);
    }
    QEL& effect() { return effectOf(*plugin); }
    CPresetSystemEditor& editor() { return editorOf(*plugin); }

    FakeHost host;
    std::unique_ptr<PluginInstance> plugin;
};

struct OwnUserStore
{
    ScopedUserStore userStore;
};

// An in-process instance with a per-user store of its own, made before the instance and
// removed after it, so that nothing the test stores or remembers reaches another test.
class PrivateStoreTest : protected OwnUserStore, public EffectTest
{
};
