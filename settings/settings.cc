// Generic access to the settings record through its table, the defaults and the screen size
// that the default window position depends on.
#include "settings/settings.h"

#include <cmath>
#include <cstdio>
#include <mutex>

#include "platform/dates.h"
#include "settings/ascii.h"
#include "settings/product.h"

namespace quill {
namespace {

std::mutex provider_mutex;

std::function<ScreenSize()>& Provider() {
  static std::function<ScreenSize()> provider;
  return provider;
}

// The main window's default size; the default position centres it.
constexpr int32_t kWindowWidth = 510;
constexpr int32_t kWindowHeight = 330;

// The number or text a rule gives, stored into the row's member.
void ApplyRule(Settings& settings, const SettingInfo& row, DefaultRule rule, double number,
               std::string_view text) {
  switch (rule) {
    case DefaultRule::kValue:
      if (row.type() == SettingType::kText) {
        SetText(settings, row, std::string(text));
      } else {
        SetDecimal(settings, row, number);
      }
      break;
    case DefaultRule::kCurrentDate:
      SetNumber(settings, row, platform::CurrentDate());
      break;
    case DefaultRule::kScreenX:
      SetNumber(settings, row, DefaultWindowX(PrimaryScreenSize()));
      break;
    case DefaultRule::kScreenY:
      SetNumber(settings, row, DefaultWindowY(PrimaryScreenSize()));
      break;
    case DefaultRule::kFirstInputFormat:
      SetText(settings, row, EnabledInputFormats().front());
      break;
    case DefaultRule::kFirstOutputFormat:
      SetText(settings, row, EnabledOutputFormats().front());
      break;
  }
}

}  // namespace

const SettingInfo* FindSetting(std::string_view group, std::string_view key) {
  for (const SettingInfo& row : SettingsTable()) {
    if (row.group == group && row.key == key) return &row;
  }
  return nullptr;
}

const SettingInfo* FindSetting(SettingMember member) {
  for (const SettingInfo& row : SettingsTable()) {
    if (row.member == member) return &row;
  }
  return nullptr;
}

const SettingInfo* FindOption(std::string_view name) {
  if (name.empty()) return nullptr;
  for (const SettingInfo& row : SettingsTable()) {
    if (EqualsIgnoringAsciiCase(row.option, name)) return &row;
  }
  return nullptr;
}

const SettingInfo* FindProfileOption(std::string_view name) {
  if (name.empty()) return nullptr;
  for (const SettingInfo& row : SettingsTable()) {
    if (EqualsIgnoringAsciiCase(row.profile_name(), name)) return &row;
  }
  return nullptr;
}

void SetNumber(Settings& settings, const SettingInfo& row, int64_t value) {
  if (auto p = std::get_if<int32_t Settings::*>(&row.member)) {
    // Conversion to an unsigned type keeps the low bits; the signed view of those bits is
    // well defined since C++20.
    settings.*(*p) = static_cast<int32_t>(static_cast<uint32_t>(value));
  } else if (auto q = std::get_if<int8_t Settings::*>(&row.member)) {
    settings.*(*q) = static_cast<int8_t>(static_cast<uint8_t>(value));
  } else if (auto f = std::get_if<float Settings::*>(&row.member)) {
    settings.*(*f) = static_cast<float>(value);
  }
}

void SetDecimal(Settings& settings, const SettingInfo& row, double value) {
  if (auto f = std::get_if<float Settings::*>(&row.member)) {
    settings.*(*f) = static_cast<float>(value);
    return;
  }
  // Integer members: drop the fraction; what no int64 can hold (infinities, NaN, huge values)
  // stores 0 rather than an undefined conversion.
  const double whole = std::trunc(value);
  const bool fits = std::isfinite(whole) && whole >= -9.2e18 && whole <= 9.2e18;
  SetNumber(settings, row, fits ? static_cast<int64_t>(whole) : 0);
}

void SetText(Settings& settings, const SettingInfo& row, std::string value) {
  if (auto t = std::get_if<std::string Settings::*>(&row.member)) settings.*(*t) = std::move(value);
}

int64_t GetNumber(const Settings& settings, const SettingInfo& row) {
  if (auto p = std::get_if<int32_t Settings::*>(&row.member)) return settings.*(*p);
  if (auto q = std::get_if<int8_t Settings::*>(&row.member)) return settings.*(*q);
  if (auto f = std::get_if<float Settings::*>(&row.member)) {
    const float value = settings.*(*f);
    // Only values that an int64 holds are converted; the others read as 0.
    return std::isfinite(value) && std::fabs(value) < 9.2e18f ? static_cast<int64_t>(value) : 0;
  }
  return 0;
}

double GetDecimal(const Settings& settings, const SettingInfo& row) {
  if (auto f = std::get_if<float Settings::*>(&row.member)) return settings.*(*f);
  return static_cast<double>(GetNumber(settings, row));
}

const std::string& GetText(const Settings& settings, const SettingInfo& row) {
  static const std::string empty;
  if (auto t = std::get_if<std::string Settings::*>(&row.member)) return settings.*(*t);
  return empty;
}

std::string ValueText(const Settings& settings, const SettingInfo& row) {
  switch (row.type()) {
    case SettingType::kInt32:
    case SettingType::kInt8:
      return std::to_string(GetNumber(settings, row));
    case SettingType::kFloat: {
      const double value = GetDecimal(settings, row);
      if (std::isnan(value)) return "NaN";
      if (std::isinf(value)) return value > 0 ? "+Infinity" : "-Infinity";
      char buffer[64];
      // A float's largest value has 39 digits before the point, well within the buffer.
      std::snprintf(buffer, sizeof buffer, "%.6f", value);
      return buffer;
    }
    case SettingType::kText:
      return GetText(settings, row);
  }
  return "";
}

void ResetSetting(Settings& settings, const SettingInfo& row, DefaultsFlavour flavour) {
  if (flavour == DefaultsFlavour::kConsole && row.console_default) {
    SetNumber(settings, row, *row.console_default);
    return;
  }
  ApplyRule(settings, row, row.default_rule, row.default_number, row.default_text);
}

void SetMissingKeyValue(Settings& settings, const SettingInfo& row) {
  if (row.missing_value) {
    SetNumber(settings, row, *row.missing_value);
    return;
  }
  ResetSetting(settings, row, DefaultsFlavour::kDesktop);
}

void ResetSettings(Settings& settings, DefaultsFlavour flavour) {
  for (const SettingInfo& row : SettingsTable()) ResetSetting(settings, row, flavour);
}

ScreenSize PrimaryScreenSize() {
  std::function<ScreenSize()> provider;
  {
    std::lock_guard<std::mutex> lock(provider_mutex);
    provider = Provider();
  }
  // Called outside the lock, so that a provider may itself replace the provider.
  return provider ? provider() : ScreenSize{};
}

void SetScreenSizeProvider(std::function<ScreenSize()> provider) {
  std::lock_guard<std::mutex> lock(provider_mutex);
  Provider() = std::move(provider);
}

int32_t DefaultWindowX(const ScreenSize& screen) {
  return screen.width > kWindowWidth ? (screen.width - kWindowWidth) / 2 : 100;
}

int32_t DefaultWindowY(const ScreenSize& screen) {
  return screen.height > kWindowHeight ? (screen.height - kWindowHeight) / 2 : 100;
}

}  // namespace quill
