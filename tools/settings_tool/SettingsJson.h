// JSON form of a settings file for the developer tool settings_tool: readable dumps, and files written from
// hand-edited JSON. Index: TJsonError, SettingsToJson, SettingsFromJson.
//
// Shape (every key optional on input; missing settings keep their defaults, unknown keys are errors):
//   { "Version": "2.19a",
//     "Settings": { "SkinIndex": 81, "ProvEmSek": 60, ..., "PassZapusk": "" },   names as in TSettings
//     "IdKomp": "...",
//     "ImapServers": [ { "Url": "", "UrlImap": "", "PortImap": 993 } ],
//     "Accounts": [ { "Domain": "", "UrlVhod": "", "Login": "", "Parol": "", "HostIMAP": "", "PortIMAP": 993 } ],
//     "Events": [ { "Name": "", "Time": 0.5, "Date": 0, "DnNedel": [1, 7] } ] }
// DnNedel lists day numbers, 1 = Monday ... 7 = Sunday. Time is a number, or for a value JSON cannot hold (NaN,
// infinity) a string of 16 hex digits with its IEEE bits. Text is UTF-8; a UTF-16 unit that is half of no pair is
// written as a \uXXXX escape, and every \uXXXX escape on input is taken as one UTF-16 unit.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

#include "app/SettingsRecord.h"

class TJsonError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

std::string SettingsToJson(const TSettingsRecordContent& content);

// Throws TJsonError naming the line and column, or the key, of the first problem.
TSettingsRecordContent SettingsFromJson(std::string_view utf8);
