// FILETIME (100 ns ticks since 1601-01-01 UTC) to and from what Linux and
// people use.
#pragma once

#include <cstdint>
#include <string>

namespace kvzpack {

constexpr uint64_t kTicksPerSecond = 10000000;
// Seconds between 1601-01-01 and 1970-01-01.
constexpr int64_t kEpochDifference = 11644473600;

// Times before 1601 clamp to 0.
uint64_t FileTimeFromUnix(int64_t seconds, uint32_t nanoseconds);
void UnixFromFileTime(uint64_t fileTime, int64_t* seconds, uint32_t* nanoseconds);

// "2004-05-06T07:08:09Z": seconds precision, UTC.
std::string FormatFileTime(uint64_t fileTime);

}  // namespace kvzpack
