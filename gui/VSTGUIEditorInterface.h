// What the toolkit asks of the editor that owns a frame: edit gestures to forward to the
// host and the knob mode the host chose.
#pragma once

#include <cstdint>

enum CKnobMode : std::int32_t
{
    kCircularMode = 0,
    kRelativCircularMode = 1,
    kLinearMode = 2,
};

class CFrame;

class VSTGUIEditorInterface
{
public:
    virtual ~VSTGUIEditorInterface() = default;
    virtual void beginEdit(std::int32_t /*index*/) {}
    virtual void endEdit(std::int32_t /*index*/) {}
    virtual std::int32_t getKnobMode() const { return kCircularMode; }
    CFrame* getFrame() const noexcept { return frame; }

protected:
    CFrame* frame = nullptr;
};
