// Module1: the start-up procedure and the settings shared by every form.
#pragma once

#include <array>
#include <optional>
#include <string>

// The rain colour's red, green and blue components as decimal text.
extern std::array<std::string, 3> GColor;
// The animation timer's interval in milliseconds as decimal text.
extern std::string GSpeed;

// The settings file beside the executable, computed afresh on every call.
std::string SettingsPath();
// The key's value in section "main", or nothing when it is missing.
std::optional<std::string> ReadSetting(const std::string& key);
// False when the file could not be written; it is then left as it was.
bool WriteSetting(const std::string& key, const std::string& value);

void Main();
