#include "process_info.h"

#include <stdio.h>

#include <algorithm>

#include "close_process.h"
#include "../log/message_log.h"
#include "../log/trace.h"
#include "../settings/text_compare.h"

ProcessVector Processes;

ProcessInfo::ProcessInfo(const char* processName) : name(processName ? processName : "") {}

ProcessInfo::~ProcessInfo()
{
    ForgetProcess();
}

void ProcessInfo::ForgetProcess()
{
    if (procInfo.hProcess)
        CloseHandle(procInfo.hProcess);
    if (procInfo.hThread)
        CloseHandle(procInfo.hThread);
    procInfo = PROCESS_INFORMATION();
}

ProcessVector::~ProcessVector()
{
    ClearProcesses(*this);
}

size_t FindByName(const ProcessVector& vector, const char* name)
{
    if (!name || !*name)
        return vector.size();
    for (size_t i = 0; i < vector.size(); ++i) {
        if (vector[i] && SameTextIgnoringCase(vector[i]->name.c_str(), name))
            return i;
    }
    return vector.size();
}

size_t FindByProcessId(const ProcessVector& vector, DWORD processId)
{
    if (processId == 0)
        return vector.size();
    for (size_t i = 0; i < vector.size(); ++i) {
        if (vector[i] && vector[i]->procInfo.dwProcessId == processId)
            return i;
    }
    return vector.size();
}

void DestroyRecord(ProcessVector& vector, size_t position)
{
    if (position >= vector.size())
        return;
    ProcessInfo* record = vector[position];
    vector.erase(vector.begin() + (ptrdiff_t)position);
    for (ProcessInfo* other : vector) {
        if (other && other->parent == record)
            other->parent = NULL;
    }
    delete record;
}

namespace {

size_t PositionOf(const ProcessVector& vector, const ProcessInfo* record)
{
    auto found = std::find(vector.begin(), vector.end(), record);
    return (size_t)(found - vector.begin());
}

}  // namespace

bool CloseProcessTree(ProcessVector& vector, size_t position)
{
    if (vector.empty() || position >= vector.size() || !vector[position] ||
        vector[position]->closing)
        return true;
    bool ok = true;
    ProcessInfo* record = vector[position];
    record->closing = true;

    // Children first; the list changes under the walk, so start again whenever
    // its size does.
    size_t cursor = 0;
    while (!vector.empty() && cursor < vector.size() &&
           PositionOf(vector, record) < vector.size()) {
        size_t sizeBefore = vector.size();
        ProcessInfo* candidate = vector[cursor];
        if (candidate && !candidate->closing && candidate->parent == record)
            ok = CloseProcessTree(vector, cursor) && ok;
        if (vector.empty())
            break;
        if (vector.size() != sizeBefore)
            cursor = 0;
        else
            ++cursor;
    }

    position = PositionOf(vector, record);
    if (vector.empty() || position >= vector.size())
        return true;
    bool hadProcess = record->procInfo.hProcess != NULL;
    record->closing = false;
    bool stopped = CloseProcess(record);
    if (!stopped && record->procInfo.hProcess)
        record->failCount += 1;
    record->ForgetProcess();
    record->window = NULL;
    ok = ok && stopped;
    if (!stopped && hadProcess && record->parent) {
        char text[1024];
        snprintf(text, sizeof text, "Could not terminate %s started by %s", record->name.c_str(),
                 record->parent->name.c_str());
        Trace(text);
        LogMessage(text);
    }
    if (ok)
        DestroyRecord(vector, position);
    return ok;
}

bool CloseAllProcesses(ProcessVector& vector)
{
    if (vector.empty())
        return true;
    bool ok = true;
    size_t cursor = 0;
    while (!vector.empty() && cursor < vector.size()) {
        ProcessInfo* record = vector[cursor];
        if (record && record->procInfo.hProcess && !record->parent) {
            size_t sizeBefore = vector.size();
            ok = CloseProcessTree(vector, cursor) && ok;
            cursor = vector.size() != sizeBefore ? 0 : cursor + 1;
        } else {
            ++cursor;
        }
    }
    cursor = 0;
    while (!vector.empty() && cursor < vector.size()) {
        size_t sizeBefore = vector.size();
        ok = CloseProcessTree(vector, cursor) && ok;
        cursor = vector.size() != sizeBefore ? 0 : cursor + 1;
    }
    return ok;
}

void ClearProcesses(ProcessVector& vector)
{
    CloseAllProcesses(vector);
    for (ProcessInfo* record : vector)
        delete record;
    vector.clear();
}

void EnterProcess(ProcessVector& vector, ProcessInfo* record)
{
    size_t old = FindByName(vector, record->name.c_str());
    if (old < vector.size() && vector[old]->procInfo.hProcess) {
        CloseProcessTree(vector, old);
        old = FindByName(vector, record->name.c_str());
    }
    if (old < vector.size()) {
        record->failCount += vector[old]->failCount;
        DestroyRecord(vector, old);
    }
    // Stopping the older tree may have taken the new record's parent with it.
    if (record->parent && PositionOf(vector, record->parent) >= vector.size())
        record->parent = NULL;
    try {
        vector.push_back(record);
    } catch (...) {
        delete record;
        throw;
    }
}
