// The C entry points the AEffect record carries; each finds the object and forwards.
#pragma once

#include "host/vst2.h"

namespace trampolines
{
VstIntPtr VSTCALLBACK dispatch(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                               void* ptr, float opt) noexcept;
void VSTCALLBACK processAccumulating(AEffect* effect, float** inputs, float** outputs,
                                     VstInt32 sampleFrames) noexcept;
void VSTCALLBACK processReplacing(AEffect* effect, float** inputs, float** outputs,
                                  VstInt32 sampleFrames) noexcept;
void VSTCALLBACK processDoubleReplacing(AEffect* effect, double** inputs, double** outputs,
                                        VstInt32 sampleFrames) noexcept;
void VSTCALLBACK setParameter(AEffect* effect, VstInt32 index, float value) noexcept;
float VSTCALLBACK getParameter(AEffect* effect, VstInt32 index) noexcept;
} // namespace trampolines
