// What a host finds first in a VST 3 module: the factory behind
// GetPluginFactory, the records describing it and its classes, and
// IPluginBase, the life cycle every made object shares.
#pragma once

#include "vst3/FUnknown.h"

namespace vst3 {

// Called by the host after making an object and before it goes.
class IPluginBase : public FUnknown {
public:
    // `context` is the host's own object (its application interface).
    virtual tresult ORVANE_VST3_CALL initialize(FUnknown* context) = 0;
    virtual tresult ORVANE_VST3_CALL terminate() = 0;

    static constexpr Uid iid = makeUid(0x22888DDB, 0x156E45AE, 0x8358B348, 0x08190625);

protected:
    ~IPluginBase() = default;
};

struct PFactoryInfo {
    enum : std::int32_t {
        kNoFlags = 0,
        kClassesDiscardable = 1 << 0,
        kLicenseCheck = 1 << 1,
        kComponentNonDiscardable = 1 << 3,
        kUnicode = 1 << 4
    };
    enum { kNameSize = 64, kURLSize = 256, kEmailSize = 128 };
    char vendor[kNameSize];
    char url[kURLSize];
    char email[kEmailSize];
    std::int32_t flags;
};

struct PClassInfo {
    enum : std::int32_t { kManyInstances = 0x7FFFFFFF };
    enum { kCategorySize = 32, kNameSize = 64 };
    TUID cid;
    std::int32_t cardinality;
    char category[kCategorySize];
    char name[kNameSize];
};

struct PClassInfo2 {
    enum { kVendorSize = 64, kVersionSize = 64, kSubCategoriesSize = 128 };
    TUID cid;
    std::int32_t cardinality;
    char category[PClassInfo::kCategorySize];
    char name[PClassInfo::kNameSize];
    std::uint32_t classFlags;
    // Several are joined with '|', such as "Fx|Analyzer".
    char subCategories[kSubCategoriesSize];
    char vendor[kVendorSize];
    char version[kVersionSize];
    char sdkVersion[kVersionSize];
};

class IPluginFactory : public FUnknown {
public:
    virtual tresult ORVANE_VST3_CALL getFactoryInfo(PFactoryInfo* info) = 0;
    virtual std::int32_t ORVANE_VST3_CALL countClasses() = 0;
    virtual tresult ORVANE_VST3_CALL getClassInfo(std::int32_t index, PClassInfo* info) = 0;
    // Makes an object of class `cid` and answers its interface `iid`.
    virtual tresult ORVANE_VST3_CALL createInstance(FIDString cid, FIDString iid, void** object) = 0;

    static constexpr Uid iid = makeUid(0x7A4D811C, 0x52114A1F, 0xAED9D2EE, 0x0B43BF9F);

protected:
    ~IPluginFactory() = default;
};

class IPluginFactory2 : public IPluginFactory {
public:
    virtual tresult ORVANE_VST3_CALL getClassInfo2(std::int32_t index, PClassInfo2* info) = 0;

    static constexpr Uid iid = makeUid(0x0007B650, 0xF24B4C0B, 0xA464EDB9, 0xF00B2ABB);

protected:
    ~IPluginFactory2() = default;
};

} // namespace vst3
