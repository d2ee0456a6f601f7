// The analyzer's editor as an LV2 X11 user interface. It lives in the same
// shared object as the plug-in and reaches the running analysis through the
// instance the host hands over (instance-access): it opens that analyzer's
// own editor as a child of the host's window (ui:parent, or top-level
// without one), and the host's idle calls drive it (ui:idleInterface), as
// effEditOpen and effEditIdle do for a VST host. All on the host's
// user-interface thread.
#include "analysis/Analyzer.h"
#include "editor/EditorBase.h"
#include "gui/Frame.h"
#include "host/opcodes.h"
#include "lv2/lv2Plugin.h"
#include "lv2/lv2Uris.h"

#include <lv2/instance-access/instance-access.h>
#include <lv2/ui/ui.h>

#include <cstdio>
#include <cstring>
#include <new>

namespace {

struct UserInterface {
    Analyzer* analyzer;
};

void* feature(const LV2_Feature* const* features, const char* uri)
{
    for (; features && *features; ++features)
        if (std::strcmp((*features)->URI, uri) == 0)
            return (*features)->data;
    return nullptr;
}

VstIntPtr request(Analyzer* analyzer, std::int32_t opcode, void* ptr = nullptr)
{
    return analyzer->dispatcher(opcode, 0, 0, ptr, 0.0f);
}

void* editorWindow(Analyzer* analyzer)
{
    auto* editor = static_cast<EditorBase*>(analyzer->getEditor());
    return editor && editor->getFrame() ? editor->getFrame()->getWindow() : nullptr;
}

void askForSize(const LV2_Feature* const* features, Analyzer* analyzer)
{
    auto* resize = static_cast<LV2UI_Resize*>(feature(features, LV2_UI__resize));
    ERect* rect = nullptr;
    if (resize && request(analyzer, effEditGetRect, &rect) && rect)
        resize->ui_resize(resize->handle, rect->right - rect->left, rect->bottom - rect->top);
}

LV2UI_Handle instantiate(const LV2UI_Descriptor*, const char*, const char*, LV2UI_Write_Function,
                         LV2UI_Controller, LV2UI_Widget* widget, const LV2_Feature* const* features)
{
    Analyzer* analyzer = analyzerOfInstance(feature(features, LV2_INSTANCE_ACCESS_URI));
    if (!analyzer) {
        std::fprintf(stderr,
                     "Orvane: this host gives the user interface no access to the plug-in instance (%s); "
                     "the editor shows the running analysis and cannot open without it.\n",
                     LV2_INSTANCE_ACCESS_URI);
        return nullptr;
    }
    auto* ui = new (std::nothrow) UserInterface{analyzer};
    if (!ui)
        return nullptr;
    request(analyzer, effEditOpen, feature(features, LV2_UI__parent));
    *widget = editorWindow(analyzer);
    if (!*widget) {
        std::fprintf(stderr, "Orvane: the editor's window could not be opened (no X display?).\n");
        request(analyzer, effEditClose);
        delete ui;
        return nullptr;
    }
    askForSize(features, analyzer);
    return ui;
}

void cleanup(LV2UI_Handle handle)
{
    auto* ui = static_cast<UserInterface*>(handle);
    request(ui->analyzer, effEditClose);
    delete ui;
}

int idle(LV2UI_Handle handle)
{
    request(static_cast<UserInterface*>(handle)->analyzer, effEditIdle);
    return 0;
}

const LV2UI_Idle_Interface kIdleInterface = {idle};

const void* extensionData(const char* uri)
{
    return std::strcmp(uri, LV2_UI__idleInterface) == 0 ? &kIdleInterface : nullptr;
}

const LV2UI_Descriptor kDescriptor = {kLv2UiUri, instantiate, cleanup, nullptr, extensionData};

} // namespace

extern "C" LV2_SYMBOL_EXPORT const LV2UI_Descriptor* lv2ui_descriptor(std::uint32_t index)
{
    return index == 0 ? &kDescriptor : nullptr;
}
