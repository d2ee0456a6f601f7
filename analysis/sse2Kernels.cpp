// The kernel table every processor the plug-in runs on has.
#include "analysis/EngineKernels.h"
#include "analysis/accumulationKernels.h"
#include "analysis/blockKernels.h"
#include "analysis/fftKernels.h"
#include "analysis/spectrumKernels.h"

const EngineKernels& sse2Kernels()
{
    static const EngineKernels table = {
        "SSE2",
        firstPass<Floats4>,
        stagePart<Floats4>,
        stagePair<Floats4>,
        lastStagePower<Floats4>,
        measureBlock<Floats4>,
        accumulateSamples<Floats4>,
        bandSums<Floats4>,
    };
    return table;
}
