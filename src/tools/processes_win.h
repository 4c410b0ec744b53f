// The Process page's readings of the running system: process snapshots, the
// paths and bitness of processes, the drive table, ending processes, and
// the version fields of a program file.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "tools/processes.h"

namespace corvel {

// A fresh snapshot, the first entry included. Throws Error with the system's
// message when the snapshot or its first entry cannot be read.
std::vector<ProcessEntry> TakeProcessSnapshot();

// FindProcessIdByName over a fresh snapshot; -1 also when there is none.
long FindProcessIdByName(const std::wstring& name);

// How many snapshots this program has taken (for the benchmark's figures).
long ProcessSnapshotsTaken();

// The filter's pass: the entries whose process is not one of the system's
// own (KeptByFilter over its path or name and product name), in order. One
// snapshot serves the whole pass.
std::vector<std::wstring> NonSystemProcesses(const std::vector<std::wstring>& entries);
// The verdict for one entry of a snapshot.
bool KeptProcess(const std::wstring& entry, const std::vector<ProcessEntry>& snapshot);

// The main module's path (GetModuleFileNameExW); empty when the process
// cannot be opened or asked.
std::wstring GetProcessModulePath(long processId);

// True when this program runs under WOW64 and the target does not (or cannot
// be opened). Throws Error when the system cannot answer about a process.
bool IsNative64Process(long processId);

// The image path by the system's answers in their order: the full image
// name, else the device path on a drive letter, else the module path
// without "\??\"; empty when none answers.
std::wstring GetProcessImagePath(long processId);

// The drive letters and their device names, in the order the system lists them.
std::vector<DosDrive> DosDrives();

// Ends every process of that executable name (the debug privilege asked for
// first, silently). False when none matched or the last attempt failed.
bool TerminateProcessByName(const std::wstring& name);

// The version fields of a file's first language block; nothing when the file
// has no readable version resource.
std::optional<VersionFields> ReadVersionFields(const std::wstring& path);

}  // namespace corvel
