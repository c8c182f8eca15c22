#include "gui/AEffGUIEditor.h"

AEffGUIEditor::~AEffGUIEditor()
{
    if (frame)
        frame->close();
}

void AEffGUIEditor::close()
{
    if (frame)
    {
        CFrame* closing = frame;
        frame = nullptr;
        closing->close();
    }
    AEffEditor::close();
}

void AEffGUIEditor::idle()
{
    if (frame)
        frame->idle();
}

CKeyCode AEffGUIEditor::toKeyCode(const VstKeyCode& key) noexcept
{
    CKeyCode code;
    code.character = key.character;
    code.virt = key.virt;
    code.modifier = key.modifier;
    return code;
}

bool AEffGUIEditor::onKeyDown(VstKeyCode& keyCode)
{
    if (!frame)
        return false;
    CKeyCode key = toKeyCode(keyCode);
    return frame->onKeyDown(key) == 1;
}

bool AEffGUIEditor::onKeyUp(VstKeyCode& keyCode)
{
    if (!frame)
        return false;
    CKeyCode key = toKeyCode(keyCode);
    return frame->onKeyUp(key) == 1;
}

void AEffGUIEditor::beginEdit(std::int32_t index)
{
    static_cast<AudioEffectX*>(effect)->beginEdit(index);
}

void AEffGUIEditor::endEdit(std::int32_t index)
{
    static_cast<AudioEffectX*>(effect)->endEdit(index);
}
