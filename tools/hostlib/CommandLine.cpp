#include "CommandLine.h"

#include <cmath>
#include <cstdlib>

bool parseNumber(const std::string& text, double& value)
{
    if (text.empty())
        return false;
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return end == text.c_str() + text.size() && std::isfinite(value);
}

bool CommandLine::next()
{
    if (index + 1 >= argc)
        return false;
    arg = argv[++index];
    return true;
}

bool CommandLine::value(std::string& out)
{
    if (index + 1 >= argc)
        return false;
    out = argv[++index];
    return true;
}

std::string CommandLine::number(double& out, double low, double high)
{
    std::string text;
    if (!value(text))
        return arg + " needs a value";
    if (!parseNumber(text, out))
        return arg + ": '" + text + "' is not a number";
    if (out < low || out > high)
        return arg + ": " + text + " is out of range";
    return "";
}
