#pragma once

// Reading a setting from the camera the way its form says, keeping what the
// camera gave in the setting.

class Connection;
class Setting;

// The value: QueryInt for a number (a failed read leaves it not read),
// TryQueryInt for an optional number (a refusal makes it unavailable),
// QueryInts for several numbers, QueryText for text.
void readSetting(Connection& connection, Setting& setting);
// "HELP <word>": its min/max/step line; none when the camera gives none.
void readSettingRange(Connection& connection, Setting& setting);
// "HELP <word>": its choice lines.
void readSettingChoices(Connection& connection, Setting& setting);
