#include "platform/system.h"

#include <sys/resource.h>
#include <sys/stat.h>
#include <time.h>

#include <cerrno>
#include <ctime>

namespace orv::platform {

double MonotonicSeconds() {
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<double>(ts.tv_sec) + ts.tv_nsec * 1e-9;
}

double ProcessCpuSeconds() {
    timespec ts;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + ts.tv_nsec * 1e-9;
}

double ThreadCpuSeconds() {
    timespec ts;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + ts.tv_nsec * 1e-9;
}

void LocalTimeOfDay(int* hour, int* minute, int* second) {
    const time_t now = time(nullptr);
    tm local{};
    localtime_r(&now, &local);
    *hour = local.tm_hour;
    *minute = local.tm_min;
    *second = local.tm_sec;
}

uint64_t PeakResidentBytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<uint64_t>(usage.ru_maxrss) * 1024u;  // Linux reports kilobytes
}

bool IsDirectory(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool MakeDirectories(const std::string& path) {
    if (path.empty() || IsDirectory(path)) return !path.empty();
    const size_t slash = path.find_last_of('/');
    if (slash != std::string::npos && slash > 0) MakeDirectories(path.substr(0, slash));
    return mkdir(path.c_str(), 0777) == 0 || (errno == EEXIST && IsDirectory(path));
}

}  // namespace orv::platform
