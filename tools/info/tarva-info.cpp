// Loads the plug-in as a host does and lists what a host would show of it:
// identity, the 36 parameters with their texts, and the 17 programs.
#include "FakeHost.h"

#include <cstdio>
#include <string>

namespace
{
std::string identityText(PluginInstance& plugin, VstInt32 opcode)
{
    char buffer[256] = {};
    plugin.dispatch(opcode, 0, 0, buffer);
    return buffer;
}

std::string fourChars(VstInt32 id)
{
    const auto u = static_cast<std::uint32_t>(id);
    return {static_cast<char>(u >> 24), static_cast<char>(u >> 16), static_cast<char>(u >> 8),
            static_cast<char>(u)};
}
} // namespace

int main(int argc, char** argv)
{
    const std::string path = argc > 1 ? argv[1] : besideProgram(TARVA_DEFAULT_PLUGIN);
    PluginLibrary library(path);
    if (!library.isLoaded())
    {
        std::fprintf(stderr, "tarva-info: %s\n", library.error().c_str());
        return 1;
    }
    FakeHost host;
    PluginInstance plugin(host, library.entry());
    if (!plugin)
    {
        std::fprintf(stderr, "tarva-info: the plug-in made no instance\n");
        return 1;
    }
    AEffect* fx = plugin.effect();
    plugin.start(44100.0f, 512);

    std::printf("plug-in   %s\n", path.c_str());
    std::printf("name      %s\n", identityText(plugin, effGetEffectName).c_str());
    std::printf("vendor    %s\n", identityText(plugin, effGetVendorString).c_str());
    std::printf("product   %s\n", identityText(plugin, effGetProductString).c_str());
    std::printf("id        %s  version %d  interface %d\n", fourChars(fx->uniqueID).c_str(),
                fx->version, static_cast<int>(plugin.dispatch(effGetVstVersion)));
    std::printf("audio     %d in, %d out, flags 0x%x\n\n", fx->numInputs, fx->numOutputs,
                static_cast<unsigned>(fx->flags));

    std::printf("%-3s %-13s %-10s %-13s %s\n", "#", "parameter", "value", "display", "label");
    for (VstInt32 i = 0; i < fx->numParams; ++i)
        std::printf("%-3d %-13s %-10.6f %-13s %s\n", i, plugin.parameterName(i).c_str(),
                    static_cast<double>(plugin.getParameter(i)), plugin.parameterDisplay(i).c_str(),
                    plugin.parameterLabel(i).c_str());

    std::printf("\nprograms\n");
    for (VstInt32 i = 0;; ++i)
    {
        VstIntPtr found = 0;
        const std::string name = plugin.programNameIndexed(i, &found);
        if (found == 0)
            break;
        std::printf("%3d  %s\n", i, name.c_str());
    }
    plugin.suspend();
    return 0;
}
