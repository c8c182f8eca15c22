// Walks a tool's command line: the options, their values and numbers within a range, with
// the one-line errors the tools print.
#pragma once

#include <string>

// The whole text as a finite number.
bool parseNumber(const std::string& text, double& value);

class CommandLine
{
public:
    CommandLine(int argc, const char* const* argv) : argc(argc), argv(argv) {}

    // Moves to the next argument; false after the last.
    bool next();
    const std::string& current() const noexcept { return arg; }
    // The current option's value, taken from the next argument; false when there is none.
    bool value(std::string& out);
    // The current option's value as a number from low to high: an error text, or empty.
    std::string number(double& out, double low, double high);

private:
    int argc;
    const char* const* argv;
    int index = 0;
    std::string arg;
};
