// Reference counting and interface answers for the objects this module hands
// to a host, in one place.
#pragma once

#include "vst3/FUnknown.h"

#include <atomic>

namespace vst3 {

// The base of such an object, `Self`, with the interfaces it implements: it
// starts with the one reference of its maker and deletes itself with the
// last. `Self` lets this base delete it (a friend, where its destructor is
// private).
template <typename Self, typename... Interfaces> class Counted : public Interfaces... {
public:
    std::uint32_t ORVANE_VST3_CALL addRef() override { return count.fetch_add(1) + 1; }
    // Nothing of the object may be touched after a result of 0.
    std::uint32_t ORVANE_VST3_CALL release() override
    {
        const std::uint32_t left = count.fetch_sub(1) - 1;
        if (left == 0)
            delete static_cast<Self*>(this);
        return left;
    }

protected:
    // For `Self` to name this base as its friend.
    using CountedBase = Counted;

    Counted() = default;
    ~Counted() = default;

private:
    std::atomic<std::uint32_t> count{1};
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
