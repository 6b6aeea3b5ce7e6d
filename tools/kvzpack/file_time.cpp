#include "tools/kvzpack/file_time.h"

#include <cstdio>

namespace kvzpack {

uint64_t FileTimeFromUnix(int64_t seconds, uint32_t nanoseconds) {
  if (seconds < -kEpochDifference) return 0;
  return uint64_t(seconds + kEpochDifference) * kTicksPerSecond + nanoseconds / 100;
}

void UnixFromFileTime(uint64_t fileTime, int64_t* seconds, uint32_t* nanoseconds) {
  *seconds = int64_t(fileTime / kTicksPerSecond) - kEpochDifference;
  *nanoseconds = uint32_t(fileTime % kTicksPerSecond) * 100;
}

std::string FormatFileTime(uint64_t fileTime) {
  // Whole days since 1601 and the civil date from them (proleptic
  // Gregorian), so no time_t range or gmtime variant matters.
  const uint64_t secondsSince1601 = fileTime / kTicksPerSecond;
  const int64_t days = int64_t(secondsSince1601 / 86400);
  const uint32_t secondOfDay = uint32_t(secondsSince1601 % 86400);
  // Shift to days since 0000-03-01, so that leap days end each cycle;
  // 1601-01-01 is day 584694 of that count.
  const int64_t z = days + 584694;
  const int64_t era = z / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  const int64_t day = doy - (153 * mp + 2) / 5 + 1;
  const int64_t month = mp < 10 ? mp + 3 : mp - 9;
  const int64_t year = yoe + era * 400 + (month <= 2 ? 1 : 0);
  char text[48];
  std::snprintf(text, sizeof text, "%04lld-%02lld-%02lldT%02u:%02u:%02uZ", (long long)year,
                (long long)month, (long long)day, secondOfDay / 3600, secondOfDay / 60 % 60,
                secondOfDay % 60);
  return text;
}

}  // namespace kvzpack
