#include "analyze/orderedJobs.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

void runInOrder(std::size_t count, unsigned jobs, const std::function<void(std::size_t)>& work,
                const std::function<void(std::size_t)>& deliver)
{
    std::atomic<std::size_t> next{0};
    std::mutex deliveryLock;
    std::vector<bool> done(count, false);
    std::size_t nextToDeliver = 0;

    const auto worker = [&] {
        for (std::size_t i = next++; i < count; i = next++) {
            work(i);
            const std::lock_guard<std::mutex> guard(deliveryLock);
            done[i] = true;
            while (nextToDeliver < count && done[nextToDeliver])
                deliver(nextToDeliver++);
        }
    };
    const std::size_t workers = std::clamp<std::size_t>(jobs, 1, std::max<std::size_t>(count, 1));
    std::vector<std::thread> helpers;
    for (std::size_t i = 1; i < workers; ++i)
        helpers.emplace_back(worker);
    worker();
    for (std::thread& helper : helpers)
        helper.join();
}
