// The kernel table for processors with AVX2. This file alone is built with
// AVX2 (never with FMA); nothing else reaches its code but through
// avx2Kernels(), which checks the processor first.
#include "analysis/EngineKernels.h"
#include "analysis/accumulationKernels.h"
#include "analysis/blockKernels.h"
#include "analysis/fftKernels.h"
#include "analysis/spectrumKernels.h"

const EngineKernels& avx2KernelTable()
{
    static const EngineKernels table = {
        "AVX2",
        firstPass<Floats8>,
        stagePart<Floats8>,
        stagePair<Floats8>,
        lastStagePower<Floats8>,
        measureBlock<Floats8>,
        accumulateSamples<Floats8>,
        bandSums<Floats8>,
    };
    return table;
}
