#pragma once

#include <cstddef>
#include <functional>

// Runs work(i) for i = 0 ... count - 1 on up to `jobs` threads (the caller's
// among them), and deliver(i) in the order of i, each as soon as it and
// every earlier one are done. Deliveries never overlap.
void runInOrder(std::size_t count, unsigned jobs, const std::function<void(std::size_t)>& work,
                const std::function<void(std::size_t)>& deliver);
