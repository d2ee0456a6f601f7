#include "vst3/AnalyzerView.h"

#include "analysis/Analyzer.h"
#include "editor/EditorBase.h"
#include "gui/Frame.h"
#include "host/opcodes.h"
#include "vst3/AnalyzerComponent.h"
#include "vst3/RunLoopHandler.h"

#include <cstring>
#include <new>

using namespace vst3;

namespace {

#if defined(_WIN32)
constexpr const char* kWindowType = kPlatformTypeHWND;
#else
constexpr const char* kWindowType = kPlatformTypeX11EmbedWindowID;
#endif

// The pace of the editor's own refresh timer, which the host's timer replaces.
constexpr TimerInterval kRunLoopTimerMs = 20;

VstIntPtr request(Analyzer& analyzer, std::int32_t opcode, void* ptr = nullptr)
{
    return analyzer.dispatcher(opcode, 0, 0, ptr, 0.0f);
}

} // namespace

AnalyzerView::AnalyzerView(AnalyzerComponent& component) : component(component)
{
    component.addRef();
}

AnalyzerView::~AnalyzerView()
{
    // A host that let go of the view without removing it first.
    if (isAttached)
        removed();
    component.viewDestroyed();
    component.release();
}

tresult AnalyzerView::queryInterface(const TUID iid, void** object)
{
    if (!object)
        return kInvalidArgument;
    if (sameUid(iid, FUnknown::iid) || sameUid(iid, IPlugView::iid))
        return answerInterface(static_cast<IPlugView*>(this), object);
    return noInterface(object);
}

tresult AnalyzerView::isPlatformTypeSupported(FIDString type)
{
    return type && std::strcmp(type, kWindowType) == 0 ? kResultTrue : kResultFalse;
}

tresult AnalyzerView::attached(void* parent, FIDString type)
{
    if (isAttached || !parent || isPlatformTypeSupported(type) != kResultTrue)
        return kResultFalse;
    Analyzer& analyzer = component.analysis();
    request(analyzer, effEditOpen, parent);
    if (!editorFrame() || !editorFrame()->getWindow()) {
        request(analyzer, effEditClose);
        return kResultFalse;
    }
    isAttached = true;
    joinHostRunLoop();
    return kResultOk;
}

tresult AnalyzerView::removed()
{
    if (!isAttached)
        return kResultFalse;
    leaveHostRunLoop();
    request(component.analysis(), effEditClose);
    isAttached = false;
    return kResultOk;
}

tresult AnalyzerView::onWheel(float)
{
    return kResultFalse;
}

tresult AnalyzerView::onKeyDown(char16_t, std::int16_t, std::int16_t)
{
    return kResultFalse;
}

tresult AnalyzerView::onKeyUp(char16_t, std::int16_t, std::int16_t)
{
    return kResultFalse;
}

tresult AnalyzerView::getSize(ViewRect* size)
{
    return size && editorRect(*size) ? kResultOk : kResultFalse;
}

tresult AnalyzerView::onSize(ViewRect* newSize)
{
    ViewRect own{};
    if (!newSize || !editorRect(own))
        return kResultFalse;
    const bool same = newSize->right - newSize->left == own.right - own.left &&
                      newSize->bottom - newSize->top == own.bottom - own.top;
    return same ? kResultOk : kResultFalse;
}

tresult AnalyzerView::onFocus(TBool)
{
    return kResultOk;
}

tresult AnalyzerView::setFrame(IPlugFrame* frame)
{
    hostFrame = frame;
    return kResultOk;
}

tresult AnalyzerView::canResize()
{
    return kResultFalse;
}

tresult AnalyzerView::checkSizeConstraint(ViewRect* rect)
{
    ViewRect own{};
    if (!rect || !editorRect(own))
        return kResultFalse;
    rect->right = rect->left + (own.right - own.left);
    rect->bottom = rect->top + (own.bottom - own.top);
    return kResultTrue;
}

bool AnalyzerView::editorRect(ViewRect& rect)
{
    ERect* own = nullptr;
    if (!request(component.analysis(), effEditGetRect, &own) || !own)
        return false;
    rect = ViewRect{own->left, own->top, own->right, own->bottom};
    return true;
}

Frame* AnalyzerView::editorFrame() const
{
    auto* editor = static_cast<EditorBase*>(component.analysis().getEditor());
    return editor ? editor->getFrame() : nullptr;
}

void AnalyzerView::joinHostRunLoop()
{
    IRunLoop* loop = nullptr;
    if (!hostFrame ||
        hostFrame->queryInterface(IRunLoop::iid.bytes, reinterpret_cast<void**>(&loop)) != kResultOk || !loop)
        return;
    runLoopHandler = new (std::nothrow) RunLoopHandler([this] { idleEditor(); });
    if (runLoopHandler && runLoopHandler->start(loop, editorFrame()->eventDescriptor(), kRunLoopTimerMs)) {
        editorFrame()->leaveTimerToHost();
    } else if (runLoopHandler) {
        // The editor keeps its own timer.
        runLoopHandler->release();
        runLoopHandler = nullptr;
    }
    loop->release();
}

void AnalyzerView::leaveHostRunLoop()
{
    if (!runLoopHandler)
        return;
    runLoopHandler->stop();
    runLoopHandler->release();
    runLoopHandler = nullptr;
}

void AnalyzerView::idleEditor()
{
    request(component.analysis(), effEditIdle);
}
