#include "process_info.h"

#include <stdio.h>

#include <algorithm>

#include "close_process.h"
#include "saver/log/message_log.h"
#include "saver/log/trace.h"
#include "shared/text_compare.h"

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
    if (readySignal)
        CloseHandle(readySignal);
    readySignal = NULL;
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
    for (ProcessInfo* other : vector) {
        if (other && other->parent == record)
            other->parent = NULL;
    }
    vector.Remove(position);
}

namespace {

size_t PositionOf(const ProcessVector& vector, const ProcessInfo* record)
{
    for (size_t i = 0; i < vector.size(); ++i) {
        if (vector[i] == record)
            return i;
    }
    return vector.size();
}

// Adds the record and its descendants to order, children before their
// parents; the closing flag keeps a record from being added twice.
void CollectTree(const ProcessVector& vector, ProcessInfo* record, std::vector<ProcessInfo*>* order)
{
    if (!record || record->closing)
        return;
    record->closing = true;
    for (size_t i = 0; i < vector.size(); ++i) {
        ProcessInfo* other = vector[i];
        if (other && other != record && other->parent == record)
            CollectTree(vector, other, order);
    }
    order->push_back(record);
}

// Stops the processes of the records (children first) all together, then
// counts failures, logs children that stayed, and removes every record that
// was stopped with all its descendants. True when all were stopped.
bool StopRecords(ProcessVector& vector, const std::vector<ProcessInfo*>& order, bool urgent)
{
    for (ProcessInfo* record : order)
        record->closing = false;
    std::vector<bool> ended;
    CloseProcesses(order, &ended, urgent);
    // A record is done when it and every descendant were stopped; children
    // come before their parents in order, so theirs are known first.
    std::vector<bool> done(order.size(), false);
    bool all = true;
    for (size_t i = 0; i < order.size(); ++i) {
        ProcessInfo* record = order[i];
        bool stopped = ended[i];
        bool hadProcess = record->procInfo.hProcess != NULL;
        if (!stopped && hadProcess)
            record->failCount += 1;
        record->ForgetProcess();
        record->window = NULL;
        if (!stopped && hadProcess && record->parent)
            TraceAndLog("Could not terminate %s started by %s", record->name.c_str(),
                        record->parent->name.c_str());
        done[i] = stopped;
        for (size_t child = 0; child < i; ++child) {
            if (order[child]->parent == record && !done[child])
                done[i] = false;
        }
        all = all && stopped;
    }
    for (size_t i = 0; i < order.size(); ++i) {
        if (done[i])
            DestroyRecord(vector, PositionOf(vector, order[i]));
    }
    return all;
}

}  // namespace

bool CloseProcessTree(ProcessVector& vector, size_t position)
{
    if (vector.empty() || position >= vector.size() || !vector[position] ||
        vector[position]->closing)
        return true;
    std::vector<ProcessInfo*> order;
    CollectTree(vector, vector[position], &order);
    return StopRecords(vector, order, false);
}

bool CloseAllProcesses(ProcessVector& vector, bool urgent)
{
    if (vector.empty())
        return true;
    // Hosted screen savers' trees first, then whatever is left (records whose
    // parent chain never reaches one).
    std::vector<ProcessInfo*> order;
    for (size_t i = 0; i < vector.size(); ++i) {
        if (vector[i] && !vector[i]->parent)
            CollectTree(vector, vector[i], &order);
    }
    for (size_t i = 0; i < vector.size(); ++i)
        CollectTree(vector, vector[i], &order);
    return StopRecords(vector, order, urgent);
}

void ClearProcesses(ProcessVector& vector)
{
    CloseAllProcesses(vector);
    vector.Clear();
}

namespace {

// The first record of the same name: an earlier start of the same screen
// saver that could not be stopped.
size_t FindEarlierInstance(const ProcessVector& vector, const ProcessInfo* record)
{
    if (record->name.empty())
        return vector.size();
    for (size_t i = 0; i < vector.size(); ++i) {
        if (vector[i] && SameTextIgnoringCase(vector[i]->name.c_str(), record->name.c_str()))
            return i;
    }
    return vector.size();
}

}  // namespace

void EnterProcess(ProcessVector& vector, std::unique_ptr<ProcessInfo> record)
{
    size_t old = FindEarlierInstance(vector, record.get());
    if (old < vector.size() && vector[old]->procInfo.hProcess) {
        CloseProcessTree(vector, old);
        old = FindEarlierInstance(vector, record.get());
    }
    if (old < vector.size()) {
        record->failCount += vector[old]->failCount;
        DestroyRecord(vector, old);
    }
    // Stopping the older tree may have taken the new record's parent with it.
    if (record->parent && PositionOf(vector, record->parent) >= vector.size())
        record->parent = NULL;
    vector.Append(std::move(record));
}

void EnterProcess(ProcessVector& vector, ProcessInfo* record)
{
    EnterProcess(vector, std::unique_ptr<ProcessInfo>(record));
}

void EnterChild(ProcessVector& vector, std::unique_ptr<ProcessInfo> record)
{
    vector.Append(std::move(record));
}
