// The screenshot needs the frame's pixels, which the plug-in interface never hands to a
// host. So this instance is made from the plug-in's own code linked into tarva-editor
// (VSTPluginMain called in-process): it is still driven through its AEffect record like
// the windowed one, but its editor, frame and offscreen back end are plain C++ objects
// here, reached through AudioEffect::getEditor.
#include "Screenshot.h"

#include "DemoPlayer.h"
#include "EditorStart.h"
#include "gui/AEffGUIEditor.h"
#include "gui/platform/OffscreenFrame.h"

#include <algorithm>
#include <cstdio>

extern "C" AEffect* VSTCALLBACK VSTPluginMain(audioMasterCallback audioMaster);

namespace
{

CFrame* editorFrame(AEffect* effect)
{
    auto* object = static_cast<AudioEffect*>(effect->object);
    auto* editor = dynamic_cast<AEffGUIEditor*>(object->getEditor());
    return editor != nullptr ? editor->getFrame() : nullptr;
}
} // namespace

int takeScreenshot(const EditorOptions& options, EditorHost& host)
{
    PluginInstance plugin(host.create(&VSTPluginMain));
    if (!plugin)
        return editorFailure(kExitPlugin, "the plug-in made no instance");
    if (const int code = startOnProgram(plugin, options); code != kExitOk)
        return code;

    // No parent window: the frame draws into its buffer and nowhere else.
    if (plugin.dispatch(effEditOpen, 0, 0, nullptr) == 0)
        return editorFailure(kExitPlugin, "the plug-in did not open its editor");
    CFrame* frame = editorFrame(plugin.effect());
    if (frame == nullptr)
        return editorFailure(kExitPlugin, "the editor has no frame");
    // A window reports where the mouse is; the editor's idle fills its displays only while
    // it knows. The top-left corner is plain background.
    if (auto* offscreen = dynamic_cast<OffscreenFrame*>(frame->getPlatformFrame()))
        offscreen->setMousePosition(CPoint(2, 2));

    // Two seconds of the demo with an idle pass every thirtieth of a second of audio, then
    // two more passes: one to read the last displays, one to draw them.
    DemoPlayer player(plugin.effect(), host, options.sampleRate, options.blockSize);
    const long blocks = 2L * options.sampleRate / options.blockSize;
    const long blocksPerIdle = std::max(1L, options.sampleRate / 30L / options.blockSize);
    for (long i = 0; i < blocks; ++i)
    {
        player.playBlock();
        if ((i + 1) % blocksPerIdle == 0)
            plugin.dispatch(effEditIdle);
    }
    plugin.dispatch(effEditIdle);
    plugin.dispatch(effEditIdle);

    const bool written = gui::writePng(frame->getBuffer(), options.screenshotFile.c_str());
    plugin.dispatch(effEditClose);
    plugin.suspend();
    plugin.close();
    if (!written)
        return editorFailure(kExitFile, "cannot write " + options.screenshotFile);
    return kExitOk;
}
