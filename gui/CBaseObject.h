// Reference counting shared by views and bitmaps: whoever keeps a pointer remembers it and
// forgets it when done; the last forget deletes.
#pragma once

#include <cstdint>

class CBaseObject
{
public:
    CBaseObject() = default;
    CBaseObject(const CBaseObject&) noexcept {}
    CBaseObject& operator=(const CBaseObject&) noexcept { return *this; }
    virtual ~CBaseObject() = default;

    void remember() noexcept { ++refCount; }
    void forget() noexcept
    {
        if (--refCount == 0)
            delete this;
    }
    std::int32_t getNbReference() const noexcept { return refCount; }

private:
    std::int32_t refCount = 1;
};
