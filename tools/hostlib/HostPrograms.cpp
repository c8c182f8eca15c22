#include "HostPrograms.h"

#include "presets/PluginId.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace
{
std::string lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool isNumber(const std::string& text)
{
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); });
}
} // namespace

std::vector<std::string> programNames(PluginInstance& plugin)
{
    std::vector<std::string> names;
    for (VstInt32 i = 0;; ++i)
    {
        VstIntPtr found = 0;
        std::string name = plugin.programNameIndexed(i, &found);
        if (found == 0)
            break;
        names.push_back(std::move(name));
    }
    return names;
}

int findProgram(PluginInstance& plugin, const std::string& wanted)
{
    const auto names = programNames(plugin);
    if (isNumber(wanted))
    {
        const long index = wanted.size() <= 9 ? std::strtol(wanted.c_str(), nullptr, 10) : -1;
        return index >= 0 && index < static_cast<long>(names.size()) ? static_cast<int>(index) : -1;
    }
    for (std::size_t i = 0; i < names.size(); ++i)
        if (lower(names[i]) == lower(wanted))
            return static_cast<int>(i);
    return -1;
}

bool selectProgram(PluginInstance& plugin, int program, const ProgramTable* programs)
{
    const auto chunk = plugin.getChunk();
    const auto state = readStateChunk(chunk.data(), chunk.size(), kPluginUniqueId);
    if (!state)
        return false;
    std::vector<std::byte> selecting(stateChunk::kBytes);
    writeStateChunk(selecting.data(), kPluginUniqueId,
                    programs != nullptr ? *programs : state->programs, program,
                    state->controllerValues);
    return plugin.setChunk(selecting) == 0;
}

std::optional<int> currentProgram(PluginInstance& plugin)
{
    const auto chunk = plugin.getChunk();
    const auto state = readStateChunk(chunk.data(), chunk.size(), kPluginUniqueId);
    if (!state)
        return std::nullopt;
    return state->currentProgram;
}
