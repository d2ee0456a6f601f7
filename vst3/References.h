// Reference counting and interface answers for the objects this module hands
// to a host, in one place. An object starts with the one reference of its
// maker and deletes itself with the last.
#pragma once

#include "vst3/FUnknown.h"

#include <atomic>

namespace vst3 {

template <typename Object> class References {
public:
    uint32 add() { return count.fetch_add(1) + 1; }
    // Deletes `object` when this was its last reference; nothing of it may
    // be touched after a result of 0.
    uint32 release(Object* object)
    {
        const uint32 left = count.fetch_sub(1) - 1;
        if (left == 0)
            delete object;
        return left;
    }

private:
    std::atomic<uint32> count{1};
};

// queryInterface's answer for an interface the object has: one more
// reference, for the caller.
template <typename Interface> tresult answerInterface(Interface* interface, void** object)
{
    interface->addRef();
    *object = interface;
    return kResultOk;
}

inline tresult noInterface(void** object)
{
    if (object)
        *object = nullptr;
    return kNoInterface;
}

} // namespace vst3
