// The record of one process the runner is responsible for, and the owning
// list of such records.
#pragma once
#include <windows.h>
#include <stdint.h>

#include <memory>
#include <string>
#include <vector>

class ProcessInfo {
public:
    explicit ProcessInfo(const char* processName);
    ~ProcessInfo();  // closes the handles it still holds
    ProcessInfo(const ProcessInfo&) = delete;
    ProcessInfo& operator=(const ProcessInfo&) = delete;

    // Closes both handles (and the ready signal) and zeroes the four process
    // fields.
    void ForgetProcess();

    std::string name;        // .scr path, or a child's executable name
    uint32_t failCount = 0;  // times stopping this process failed
    PROCESS_INFORMATION procInfo = {};
    HWND window = NULL;          // its top-level window, if one was found
    // Signalled when the started process became ready for input (or gave up
    // waiting for it): a stop looking for its late window wakes on it.
    HANDLE readySignal = NULL;
    ProcessInfo* parent = NULL;  // the record of the process that started it
    bool closing = false;        // set while its tree is being stopped
};

// Owns its records, in the order they came; read as a list of pointers.
class ProcessVector {
    typedef std::vector<std::unique_ptr<ProcessInfo>> Records;

public:
    ProcessVector() = default;
    ~ProcessVector();
    ProcessVector(const ProcessVector&) = delete;
    ProcessVector& operator=(const ProcessVector&) = delete;

    size_t size() const { return records_.size(); }
    bool empty() const { return records_.empty(); }
    ProcessInfo* operator[](size_t position) const { return records_[position].get(); }
    void Append(std::unique_ptr<ProcessInfo> record) { records_.push_back(std::move(record)); }
    // Destroys the record at position.
    void Remove(size_t position) { records_.erase(records_.begin() + (ptrdiff_t)position); }
    void Clear() { records_.clear(); }

    class Iterator {
    public:
        explicit Iterator(Records::const_iterator at) : at_(at) {}
        ProcessInfo* operator*() const { return at_->get(); }
        Iterator& operator++()
        {
            ++at_;
            return *this;
        }
        bool operator!=(const Iterator& other) const { return at_ != other.at_; }

    private:
        Records::const_iterator at_;
    };
    Iterator begin() const { return Iterator(records_.begin()); }
    Iterator end() const { return Iterator(records_.end()); }

private:
    Records records_;
};

// The runner's records; only the runner thread touches it during a session.
extern ProcessVector Processes;

// Position of the first record whose name equals name ignoring letter case;
// size() when none, or when name is null or empty.
size_t FindByName(const ProcessVector& vector, const char* name);
// Position of the first record with this process id; size() when none or 0.
size_t FindByProcessId(const ProcessVector& vector, DWORD processId);
// Destroys the record at position and removes it. Records that named it as
// parent are orphaned rather than left pointing at freed memory.
void DestroyRecord(ProcessVector& vector, size_t position);

// Stops the record at position and its descendants, children first and all
// together (one set of waits for the whole tree); true when all of them were
// stopped. Each record stopped with all its descendants is removed.
bool CloseProcessTree(ProcessVector& vector, size_t position);
// Stops every record the same way, hosted screen savers' trees first; at
// once, by force, those without a window when the user is waiting (input).
bool CloseAllProcesses(ProcessVector& vector, bool urgent = false);
// Stops what still runs, destroys every record and empties the vector.
void ClearProcesses(ProcessVector& vector);

// Appends the record of a started screen saver; an older record of the same
// name is stopped if it still has a process, its failure count carried over,
// and it is replaced.
void EnterProcess(ProcessVector& vector, std::unique_ptr<ProcessInfo> record);
// The same, taking over a record made with new.
void EnterProcess(ProcessVector& vector, ProcessInfo* record);
// Appends the record of a process found running (a child, or one that
// slipped out): a record of its own whatever its name, stopped with the
// others, never one by one as it is found.
void EnterChild(ProcessVector& vector, std::unique_ptr<ProcessInfo> record);
