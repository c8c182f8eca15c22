#include "host/Trampolines.h"

#include "host/AudioEffect.h"

namespace trampolines
{
namespace
{
AudioEffect* objectOf(AEffect* effect) noexcept
{
    return effect != nullptr ? static_cast<AudioEffect*>(effect->object) : nullptr;
}
} // namespace

VstIntPtr VSTCALLBACK dispatch(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                               void* ptr, float opt) noexcept
{
    AudioEffect* object = objectOf(effect);
    if (object == nullptr)
        return 0;
    try
    {
        if (opcode == effClose)
        {
            object->dispatcher(opcode, index, value, ptr, opt);
            delete object; // the record lives inside the object and goes with it
            return 1;
        }
        return object->dispatcher(opcode, index, value, ptr, opt);
    }
    catch (...)
    {
        return 0; // nothing may cross into the host
    }
}

// The accumulating entry is deprecated; its output buffers stay untouched.
void VSTCALLBACK processAccumulating(AEffect*, float**, float**, VstInt32) noexcept {}

void VSTCALLBACK processReplacing(AEffect* effect, float** inputs, float** outputs,
                                  VstInt32 sampleFrames) noexcept
{
    if (AudioEffect* object = objectOf(effect))
        object->processReplacing(inputs, outputs, sampleFrames);
}

// effFlagsCanDoubleReplacing is never set, so hosts do not call this.
void VSTCALLBACK processDoubleReplacing(AEffect*, double**, double**, VstInt32) noexcept {}

void VSTCALLBACK setParameter(AEffect* effect, VstInt32 index, float value) noexcept
{
    if (AudioEffect* object = objectOf(effect))
        object->setParameter(index, value);
}

float VSTCALLBACK getParameter(AEffect* effect, VstInt32 index) noexcept
{
    AudioEffect* object = objectOf(effect);
    return object != nullptr ? object->getParameter(index) : 0.0f;
}
} // namespace trampolines
