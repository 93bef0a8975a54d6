// Program dates on POSIX: calendar arithmetic in UTC stands for local wall-clock time.
#include "platform/dates.h"

namespace quill::platform {

std::time_t DateToTime(int32_t date) {
  const std::time_t wall = date;
  std::tm fields{};
  gmtime_r(&wall, &fields);
  fields.tm_isdst = -1;  // let the system decide whether summer time applies
  return mktime(&fields);
}

int32_t TimeToDate(std::time_t time) {
  std::tm fields{};
  localtime_r(&time, &fields);
  return static_cast<int32_t>(timegm(&fields));
}

int32_t CurrentDate() { return TimeToDate(std::time(nullptr)); }

DateFields SplitDate(int32_t date) {
  const std::time_t wall = date;
  std::tm f{};
  gmtime_r(&wall, &f);
  return DateFields{f.tm_year + 1900, f.tm_mon + 1, f.tm_mday, f.tm_hour, f.tm_min, f.tm_sec};
}

int32_t JoinDate(const DateFields& d) {
  std::tm f{};
  f.tm_year = d.year - 1900;
  f.tm_mon = d.month - 1;
  f.tm_mday = d.day;
  f.tm_hour = d.hour;
  f.tm_min = d.minute;
  f.tm_sec = d.second;
  return static_cast<int32_t>(timegm(&f));
}

}  // namespace quill::platform
