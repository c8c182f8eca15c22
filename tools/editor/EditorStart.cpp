#include "EditorStart.h"

#include "HostPrograms.h"

#include <cstdio>

int editorFailure(int code, const std::string& message)
{
    std::fprintf(stderr, "tarva-editor: %s\n", message.c_str());
    return code;
}

int startOnProgram(PluginInstance& plugin, const EditorOptions& options)
{
    plugin.start(static_cast<float>(options.sampleRate), options.blockSize);
    if (options.program.empty())
        return kExitOk;
    const int program = findProgram(plugin, options.program);
    if (program < 0)
        return editorFailure(kExitUsage, "unknown program '" + options.program + "'");
    selectProgram(plugin, program);
    return kExitOk;
}
