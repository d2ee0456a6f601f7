#include "analysis/EngineKernels.h"

namespace {

// The compiler's own check reads the processor's features and whether the
// system saves the wide registers; the same call on Linux and on Windows.
bool processorHasAvx2()
{
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2");
}

} // namespace

const EngineKernels* avx2Kernels()
{
    static const bool available = processorHasAvx2();
    return available ? &avx2KernelTable() : nullptr;
}

const EngineKernels& fastestKernels()
{
    static const EngineKernels& chosen = avx2Kernels() ? *avx2Kernels() : sse2Kernels();
    return chosen;
}
