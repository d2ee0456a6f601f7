#include "vst3/AnalyzerFactory.h"

#include "analysis/displayScale.h"
#include "vst3/AnalyzerComponent.h"
#include "vst3/Counted.h"
#include "vst3/IAudioProcessor.h"

#include <cstdio>
#include <cstring>

using namespace vst3;

namespace {

constexpr const char* kVendor = "Brindlewick";
constexpr const char* kUrl = "https://brindlewick.org";
constexpr const char* kSubCategories = "Fx|Analyzer";
// The interface version these declarations follow, not an SDK's: none is used.
constexpr const char* kInterfaceVersion = "VST 3.7.0";

// Copies `text` into a fixed field, cut to fit and always terminated.
template <std::size_t N> void put(char (&field)[N], const char* text)
{
    std::snprintf(field, N, "%s", text);
}

// What both kinds of class record say alike.
template <typename Record> void describeClass(Record& info)
{
    std::memset(&info, 0, sizeof info);
    std::memcpy(info.cid, AnalyzerComponent::classId.bytes, sizeof info.cid);
    info.cardinality = PClassInfo::kManyInstances;
    put(info.category, kVstAudioEffectClass);
    if (kDisplayScale == 1)
        put(info.name, "Orvane");
    else
        std::snprintf(info.name, sizeof info.name, "Orvane x%d", kDisplayScale);
}

} // namespace

AnalyzerFactory* AnalyzerFactory::get()
{
    static AnalyzerFactory factory;
    factory.addRef();
    return &factory;
}

tresult AnalyzerFactory::queryInterface(const TUID iid, void** object)
{
    if (!object)
        return kInvalidArgument;
    if (sameUid(iid, FUnknown::iid) || sameUid(iid, IPluginFactory::iid) ||
        sameUid(iid, IPluginFactory2::iid))
        return answerInterface(static_cast<IPluginFactory2*>(this), object);
    return noInterface(object);
}

std::uint32_t AnalyzerFactory::addRef()
{
    return references.fetch_add(1) + 1;
}

std::uint32_t AnalyzerFactory::release()
{
    return references.fetch_sub(1) - 1;
}

tresult AnalyzerFactory::getFactoryInfo(PFactoryInfo* info)
{
    if (!info)
        return kInvalidArgument;
    std::memset(info, 0, sizeof *info);
    put(info->vendor, kVendor);
    put(info->url, kUrl);
    info->flags = PFactoryInfo::kNoFlags;
    return kResultOk;
}

std::int32_t AnalyzerFactory::countClasses()
{
    return 1;
}

tresult AnalyzerFactory::getClassInfo(std::int32_t index, PClassInfo* info)
{
    if (index != 0 || !info)
        return kInvalidArgument;
    describeClass(*info);
    return kResultOk;
}

tresult AnalyzerFactory::getClassInfo2(std::int32_t index, PClassInfo2* info)
{
    if (index != 0 || !info)
        return kInvalidArgument;
    describeClass(*info);
    info->classFlags = 0;
    put(info->subCategories, kSubCategories);
    put(info->vendor, kVendor);
    put(info->version, ORVANE_VERSION);
    put(info->sdkVersion, kInterfaceVersion);
    return kResultOk;
}

tresult AnalyzerFactory::createInstance(FIDString cid, FIDString iid, void** object)
{
    if (!object)
        return kInvalidArgument;
    *object = nullptr;
    if (!sameUid(cid, AnalyzerComponent::classId))
        return kNoInterface;
    AnalyzerComponent* component = AnalyzerComponent::make();
    if (!component)
        return kOutOfMemory;
    const tresult result = component->queryInterface(iid, object);
    // The answer holds the one reference the host keeps, if any.
    component->release();
    return result;
}
