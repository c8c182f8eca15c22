// The editor's frame: the library's frame under its own name.
#pragma once

#include "gui/CFrame.h"

#include <cstring>

class MyFrame : public CFrame
{
public:
    using CFrame::CFrame;
    bool isTypeOf(const char* type) const override
    {
        return std::strcmp(type, "MyFrame") == 0 || CFrame::isTypeOf(type);
    }
};
