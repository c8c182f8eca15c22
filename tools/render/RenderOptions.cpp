#include "RenderOptions.h"

#include "CommandLine.h"

const char* const kRenderUsage =
    "usage: tarva-render [options] [IN] OUT\n"
    "Renders IN (or, without IN, a built-in demo phrase) through TARVA into OUT.\n"
    "Formats: .wav, .flac, .aiff, .ogg. A mono input feeds both channels.\n"
    "\n"
    "  --program N|NAME     factory program by number (0-16) or name\n"
    "  --preset FILE.qel    render with a saved preset\n"
    "  --bank FILE.qeb      render with a saved bank; --program then picks from it\n"
    "  --set NAME=VALUE     set a parameter (name as listed, normalized value 0..1)\n"
    "  --tempo BPM          host tempo for tempo sync (default 120)\n"
    "  --position BEATS     song position at the start, in quarter notes (default 0)\n"
    "  --tail SECONDS       silence appended so the repeats ring out\n"
    "                       (default 0; 4 for the demo)\n"
    "  --block N            host block size in frames (default 512)\n"
    "  --rate HZ            resample the input to HZ first\n"
    "  --plugin PATH        the plug-in library to load\n"
    "  --list-programs      list the factory programs and exit\n"
    "  --list-parameters    list the parameters with display texts and exit\n"
    "  --quiet              no progress bar\n"
    "  --help               this text\n";

std::string parseRenderOptions(int argc, const char* const* argv, RenderOptions& options)
{
    std::vector<std::string> positional;
    CommandLine line(argc, argv);
    while (line.next())
    {
        const std::string& arg = line.current();
        auto value = [&](std::string& out) { return line.value(out); };
        auto number = [&](double& out, double low, double high)
        { return line.number(out, low, high); };

        std::string error;
        double n = 0.0;
        if (arg == "--help" || arg == "-h")
            options.help = true;
        else if (arg == "--list-programs")
            options.listPrograms = true;
        else if (arg == "--list-parameters")
            options.listParameters = true;
        else if (arg == "--quiet")
            options.quiet = true;
        else if (arg == "--program")
        {
            if (!value(options.program))
                error = "--program needs a number or a name";
        }
        else if (arg == "--preset")
        {
            if (!value(options.presetFile))
                error = "--preset needs a file";
        }
        else if (arg == "--bank")
        {
            if (!value(options.bankFile))
                error = "--bank needs a file";
        }
        else if (arg == "--plugin")
        {
            if (!value(options.plugin))
                error = "--plugin needs a path";
        }
        else if (arg == "--set")
        {
            std::string pair;
            if (!value(pair))
                return "--set needs NAME=VALUE";
            const auto eq = pair.find('=');
            if (eq == std::string::npos || eq == 0)
                return "--set: '" + pair + "' is not NAME=VALUE";
            options.settings.emplace_back(pair.substr(0, eq), pair.substr(eq + 1));
        }
        else if (arg == "--tempo")
            error = number(options.tempo, 1.0, 1000.0);
        else if (arg == "--position")
            error = number(options.position, -1e9, 1e9);
        else if (arg == "--tail")
            error = number(options.tailSeconds, 0.0, 3600.0);
        else if (arg == "--block")
        {
            error = number(n, 1.0, 65536.0);
            options.blockSize = static_cast<int>(n);
        }
        else if (arg == "--rate")
        {
            error = number(n, 5000.0, 200000.0);
            options.sampleRate = static_cast<int>(n);
        }
        else if (arg.size() > 1 && arg[0] == '-')
            error = "unknown option " + arg;
        else
            positional.push_back(arg);
        if (!error.empty())
            return error;
    }

    if (!options.presetFile.empty() && !options.bankFile.empty())
        return "--preset and --bank cannot be used together";
    if (!options.presetFile.empty() && !options.program.empty())
        return "--preset and --program cannot be used together";
    if (options.help || options.listPrograms || options.listParameters)
        return "";
    if (positional.size() == 1)
        options.output = positional[0];
    else if (positional.size() == 2)
    {
        options.input = positional[0];
        options.output = positional[1];
    }
    else if (positional.empty())
        return "no output file given (try --help)";
    else
        return "too many file names (try --help)";
    return "";
}
