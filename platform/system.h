// Clocks, local time, memory use and folders: the OS services the saver and tools need.
#pragma once

#include <cstdint>
#include <string>

namespace orv::platform {

// Seconds from an arbitrary start, monotonic.
double MonotonicSeconds();
// Process CPU time in seconds (all threads).
double ProcessCpuSeconds();
// CPU time of the calling thread in seconds.
double ThreadCpuSeconds();
// The current local time of day.
void LocalTimeOfDay(int* hour, int* minute, int* second);
// Peak resident memory of the process, in bytes.
uint64_t PeakResidentBytes();
// Creates a folder (and its parents); true if it exists afterwards.
bool MakeDirectories(const std::string& path);
bool IsDirectory(const std::string& path);

}  // namespace orv::platform
