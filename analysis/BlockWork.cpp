#include "analysis/BlockWork.h"

#include "analysis/EngineKernels.h"
#include "analysis/fft.h"

void BlockWork::measure(const EngineKernels& kernels, const Samples& samples, int channels)
{
    kernels.measureBlock(samples, channels, *this);
}

void BlockWork::transform(const EngineKernels& kernels, const Samples& samples, int channels, const float* window)
{
    for (int c = 0; c < channels; ++c)
        powerSpectrum(kernels, kAnalysisBlockFrames, samples[c], window, power[c]);
    transformed = true;
}
