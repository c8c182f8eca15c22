#include "support/TestPlugin.h"

#include "effect/QEL.h"
#include "presets/CPresetSystemEditor.h"

extern "C" AEffect* VSTCALLBACK VSTPluginMain(audioMasterCallback audioMaster);

PluginLibrary& pluginLibrary()
{
    static PluginLibrary library(besideProgram(TARVA_PLUGIN_PATH));
    return library;
}

VstEntryProc inProcessEntry()
{
    return &VSTPluginMain;
}

QEL& effectOf(PluginInstance& plugin)
{
    return *static_cast<QEL*>(static_cast<AudioEffect*>(plugin.effect()->object));
}

void setProgramValue(QEL& effect, int program, int control, float value)
{
    ProgramRecord record = effect.readProgram(program);
    record.values[control] = value;
    effect.replaceProgram(program, record);
}

CPresetSystemEditor& editorOf(PluginInstance& plugin)
{
    return *static_cast<CPresetSystemEditor*>(effectOf(plugin).getEditor());
}
