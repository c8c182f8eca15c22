#include "EditorOptions.h"

#include "CommandLine.h"

const char* const kEditorUsage =
    "usage: tarva-editor [options]\n"
    "Opens TARVA's editor in a window of its own, as a host does, with a demo phrase\n"
    "playing through the plug-in (nothing is heard: the output is discarded) so that the\n"
    "meter, the lamps and the beat flash move. Closing the window ends the program.\n"
    "\n"
    "  --program N|NAME     factory program by number (0-16) or name\n"
    "  --log FILE           write one line per host callback of interest:\n"
    "                       'automate INDEX VALUE', 'beginEdit INDEX', 'endEdit INDEX',\n"
    "                       'updateDisplay', then 'program INDEX NAME' once the host has\n"
    "                       looked at the program the plug-in made current\n"
    "  --screenshot FILE    draw the editor once, offscreen, into a PNG file and exit\n"
    "                       (no X display needed)\n"
    "  --measure SECONDS    run for that long, then print the user-interface thread's share\n"
    "                       of CPU time and the mean and longest editor idle call\n"
    "  --tempo BPM          host tempo (default 120)\n"
    "  --rate HZ            sample rate (default 44100)\n"
    "  --block N            host block size in frames (default 512)\n"
    "  --plugin PATH        the plug-in library to load (the window only; the screenshot\n"
    "                       uses the plug-in code built into this program)\n"
    "  --help               this text\n";

std::string parseEditorOptions(int argc, const char* const* argv, EditorOptions& options)
{
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
        else if (arg == "--program")
        {
            if (!value(options.program))
                error = "--program needs a number or a name";
        }
        else if (arg == "--log")
        {
            if (!value(options.logFile))
                error = "--log needs a file";
        }
        else if (arg == "--screenshot")
        {
            if (!value(options.screenshotFile))
                error = "--screenshot needs a file";
        }
        else if (arg == "--plugin")
        {
            if (!value(options.plugin))
                error = "--plugin needs a path";
        }
        else if (arg == "--measure")
        {
            error = number(options.measureSeconds, 0.1, 86400.0);
        }
        else if (arg == "--tempo")
            error = number(options.tempo, 1.0, 1000.0);
        else if (arg == "--rate")
        {
            error = number(n, 8000.0, 192000.0);
            options.sampleRate = static_cast<int>(n);
        }
        else if (arg == "--block")
        {
            error = number(n, 1.0, 8192.0);
            options.blockSize = static_cast<int>(n);
        }
        else
            error = arg.size() > 1 && arg[0] == '-' ? "unknown option " + arg
                                                    : "unexpected argument '" + arg + "'";
        if (!error.empty())
            return error;
    }
    if (!options.screenshotFile.empty() && options.measureSeconds > 0.0)
        return "--screenshot and --measure cannot be used together";
    return "";
}
