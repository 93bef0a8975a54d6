// Program dates on POSIX: calendar arithmetic in UTC stands for local wall-clock time.
#include "platform/dates.h"

#include <limits>

namespace quill::platform {
namespace {

// Program dates are 32 bits wide: times outside that range are held at its ends instead of
// wrapping around to a date decades away.
int32_t ClampToDate(std::time_t seconds) {
  if (seconds < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  if (seconds > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(seconds);
}

}  // namespace

std::time_t DateToTime(int32_t date) {
  const std::time_t wall = date;
  std::tm fields{};
  gmtime_r(&wall, &fields);
  fields.tm_isdst = -1;  // let the system decide whether summer time applies
  return mktime(&fields);
}

int32_t TimeToDate(std::time_t time) {
  std::tm fields{};
  if (localtime_r(&time, &fields) == nullptr) return ClampToDate(time);
  return ClampToDate(timegm(&fields));
}

int32_t CurrentDate() { return TimeToDate(std::time(nullptr)); }

DateFields SplitDate(int32_t date) {
  const std::time_t wall = date;
  std::tm f{};
  gmtime_r(&wall, &f);
  return DateFields{f.tm_year + 1900, f.tm_mon + 1, f.tm_mday, f.tm_hour, f.tm_min, f.tm_sec};
}

int32_t JoinDate(const DateFields& d) {
  // A year this far back cannot even be put into the calendar fields.
  if (d.year < std::numeric_limits<int>::min() + 1900) return std::numeric_limits<int32_t>::min();
  std::tm f{};
  f.tm_year = d.year - 1900;
  f.tm_mon = d.month - 1;
  f.tm_mday = d.day;
  f.tm_hour = d.hour;
  f.tm_min = d.minute;
  f.tm_sec = d.second;
  return ClampToDate(timegm(&f));
}

}  // namespace quill::platform
