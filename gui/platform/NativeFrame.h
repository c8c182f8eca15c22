// The window system's back end for a frame with a parent window: X11 on Linux, Win32 on
// Windows. Chosen at build time.
#pragma once

#include "gui/IPlatformFrame.h"

#include <memory>

namespace gui
{
// A child window of parent showing frame; null when it cannot be created (the frame then
// runs offscreen).
std::unique_ptr<IPlatformFrame> createNativeFrame(void* parent, CFrame* frame, const CRect& size);
} // namespace gui
