// The plug-in's editor window: an 870 x 101 panel.
#pragma once

#include "presets/CPresetSystemEditor.h"

class QEL;

class Editor : public CPresetSystemEditor
{
public:
    explicit Editor(QEL* effect) noexcept;

    static constexpr VstInt16 kWidth = 870;
    static constexpr VstInt16 kHeight = 101;
};
