#include "gui/platform/NativeFrame.h"

namespace gui
{
std::unique_ptr<IPlatformFrame> createNativeFrame(void*, CFrame*, const CRect&)
{
    return nullptr;
}
} // namespace gui
