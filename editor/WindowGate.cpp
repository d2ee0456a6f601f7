#include "editor/WindowGate.h"

bool WindowGate::tryEnter()
{
    const std::thread::id self = std::this_thread::get_id();
    if (owner.load(std::memory_order_acquire) == self) {
        ++depth;
        return true;
    }
    std::thread::id nobody;
    if (!owner.compare_exchange_strong(nobody, self, std::memory_order_acquire))
        return false;
    depth = 1;
    return true;
}

void WindowGate::enter()
{
    while (!tryEnter())
        std::this_thread::yield();
}

void WindowGate::leave()
{
    if (--depth == 0)
        owner.store(std::thread::id(), std::memory_order_release);
}

WindowGate::Scope::Scope(WindowGate* gate) : gate(gate)
{
    if (gate)
        gate->enter();
}

WindowGate::Scope::~Scope()
{
    if (gate)
        gate->leave();
}
