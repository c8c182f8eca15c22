// Names of the MIDI controllers, as the preset strip shows the binding under the mouse.
#pragma once

// Display indices: 0-127 the controller numbers, 128 "not assigned", 129 empty.
constexpr int kNumControllerNames = 130;

// The name for a display index; the empty text for an index outside 0-129.
const char* controllerName(int displayIndex) noexcept;
