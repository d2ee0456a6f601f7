#include "tests/support/RecordingHost.h"

#include "host/opcodes.h"

namespace {

constexpr VstIntPtr kHostVersion = 2400;

std::vector<HostCall>& recorded()
{
    static std::vector<HostCall> calls;
    return calls;
}

std::map<std::int32_t, VstIntPtr>& answers()
{
    static std::map<std::int32_t, VstIntPtr> table{{audioMasterVersion, kHostVersion}};
    return table;
}

} // namespace

VstIntPtr ORVANE_CDECL RecordingHost::callback(AEffect* effect, std::int32_t opcode, std::int32_t index,
                                               VstIntPtr value, void* ptr, float opt)
{
    recorded().push_back(HostCall{effect, opcode, index, value, ptr, opt});
    const auto found = answers().find(opcode);
    return found == answers().end() ? 0 : found->second;
}

void RecordingHost::clear()
{
    recorded().clear();
    answers().clear();
    answers()[audioMasterVersion] = kHostVersion;
}

void RecordingHost::answer(std::int32_t opcode, VstIntPtr result)
{
    answers()[opcode] = result;
}

const std::vector<HostCall>& RecordingHost::calls()
{
    return recorded();
}

std::vector<HostCall> RecordingHost::callsOf(std::int32_t opcode)
{
    std::vector<HostCall> matching;
    for (const HostCall& call : recorded())
        if (call.opcode == opcode)
            matching.push_back(call);
    return matching;
}
