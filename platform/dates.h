// Program dates: signed 32-bit counts of seconds since 1970-01-01 00:00:00 local time. A date D
// stands for the local wall-clock time whose calendar fields are those of gmtime(D). These are
// the only conversions between program dates and system times.
#pragma once

#include <cstdint>
#include <ctime>
#include <ostream>

namespace quill::platform {

// The system time (seconds since the epoch, UTC) of the local wall-clock time `date` stands for.
std::time_t DateToTime(int32_t date);

// The program date of a system time, as the local wall clock shows it.
int32_t TimeToDate(std::time_t time);

// The current local date and time as a program date.
int32_t CurrentDate();

// Calendar fields of a program date (local wall clock).
struct DateFields {
  int year = 1970;  // four digits
  int month = 1;    // 1 to 12
  int day = 1;      // 1 to 31
  int hour = 0;
  int minute = 0;
  int second = 0;
  bool operator==(const DateFields&) const = default;
};

// Shown in test failures.
inline std::ostream& operator<<(std::ostream& os, const DateFields& f) {
  return os << f.year << "-" << f.month << "-" << f.day << " " << f.hour << ":" << f.minute << ":"
            << f.second;
}
DateFields SplitDate(int32_t date);

// The program date of the given local wall-clock fields.
int32_t JoinDate(const DateFields& fields);

}  // namespace quill::platform
