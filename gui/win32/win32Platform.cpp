// Windows: the tick count for idle pacing, the multimedia timer's clock for
// the refresh, and OLE for the drop target of the editors' windows.
#include "gui/Platform.h"

#include <windows.h>

#include <mmsystem.h>
#include <ole2.h>

namespace platform {

std::uint32_t idleClockMilliseconds()
{
    return GetTickCount();
}

std::uint32_t refreshClockMilliseconds()
{
    return timeGetTime();
}

void sleepMilliseconds(std::uint32_t milliseconds)
{
    Sleep(milliseconds);
}

// The result is not looked at: the editor works the same whether or not the
// thread had OLE already.
void attachEditorThread()
{
    OleInitialize(nullptr);
}

void detachEditorThread()
{
    OleUninitialize();
}

} // namespace platform
