// What lv2file and jalv do not show of an LV2 shared object: processing in
// place (the host hands the same buffer as input and output) stays a
// bit-exact copy, and a host that offers no instance access gets a refusal
// from the user interface, not a crash.
// usage: lv2Checks BUNDLE/orvane.so PLUGIN_URI   (exit 0 when both hold)
#include <dlfcn.h>
#include <lv2/core/lv2.h>
#include <lv2/ui/ui.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

bool inPlaceIsACopy(const LV2_Descriptor* plugin)
{
    constexpr std::uint32_t kFrames = 5000;
    LV2_Handle instance = plugin->instantiate(plugin, 44100.0, "", nullptr);
    if (!instance)
        return false;
    std::vector<float> left(kFrames), right(kFrames);
    for (std::uint32_t i = 0; i < kFrames; ++i) {
        left[i] = static_cast<float>(i % 97) / 97.0f - 0.5f;
        right[i] = -left[i] * 0.25f;
    }
    const std::vector<float> inLeft = left, inRight = right;
    plugin->connect_port(instance, 0, left.data());
    plugin->connect_port(instance, 1, right.data());
    plugin->connect_port(instance, 2, left.data());
    plugin->connect_port(instance, 3, right.data());
    plugin->run(instance, kFrames);
    plugin->cleanup(instance);
    return left == inLeft && right == inRight;
}

bool userInterfaceRefusesWithoutInstanceAccess(const LV2UI_Descriptor* ui, const char* pluginUri)
{
    LV2UI_Widget widget = nullptr;
    const LV2_Feature* noFeatures[] = {nullptr};
    LV2UI_Handle handle = ui->instantiate(ui, pluginUri, "", nullptr, nullptr, &widget, noFeatures);
    if (handle)
        ui->cleanup(handle);
    return !handle && !widget;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: lv2Checks SHARED_OBJECT PLUGIN_URI\n");
        return 2;
    }
    void* library = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
    using PluginEntry = const LV2_Descriptor* (*)(std::uint32_t);
    using UiEntry = const LV2UI_Descriptor* (*)(std::uint32_t);
    auto pluginEntry = library ? reinterpret_cast<PluginEntry>(dlsym(library, "lv2_descriptor")) : nullptr;
    auto uiEntry = library ? reinterpret_cast<UiEntry>(dlsym(library, "lv2ui_descriptor")) : nullptr;
    if (!pluginEntry || !uiEntry || !pluginEntry(0) || std::strcmp(pluginEntry(0)->URI, argv[2]) != 0) {
        std::fprintf(stderr, "lv2Checks: %s does not describe %s\n", argv[1], argv[2]);
        return 1;
    }
    const bool inPlace = inPlaceIsACopy(pluginEntry(0));
    const bool refused = userInterfaceRefusesWithoutInstanceAccess(uiEntry(0), argv[2]);
    std::printf("%s: in place %s; without instance access the user interface %s\n", argv[2],
                inPlace ? "bit-exact" : "NOT bit-exact", refused ? "refuses" : "did NOT refuse");
    dlclose(library);
    return inPlace && refused ? 0 : 1;
}
