#include "Scenario.h"

#include <cmath>
#include <cstdlib>
#include <map>
#include <sstream>

namespace sensors {
namespace {

constexpr double kPi = 3.14159265358979323846;

std::string Trim(const std::string& text) {
    const auto begin = text.find_first_not_of(" \t\r\n");
    if (begin == std::string::npos) return {};
    const auto end = text.find_last_not_of(" \t\r\n");
    return text.substr(begin, end - begin + 1);
}

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::string part;
    std::istringstream stream(text);
    while (std::getline(stream, part, separator)) parts.push_back(Trim(part));
    if (!text.empty() && text.back() == separator) parts.emplace_back();
    return parts;
}

bool ParseDouble(const std::string& text, double& value) {
    if (text.empty()) return false;
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return end && *end == 0;
}

bool ParseInt(const std::string& text, int& value) {
    double number = 0;
    if (!ParseDouble(text, number)) return false;
    value = static_cast<int>(number);
    return true;
}

using Sections = std::map<std::string, std::map<std::string, std::string>>;

Sections ParseIni(const std::string& text) {
    Sections sections;
    std::string current;
    std::istringstream stream(text);
    std::string line;
    while (std::getline(stream, line)) {
        line = Trim(line);
        if (line.empty() || line[0] == ';' || line[0] == '#') continue;
        if (line.front() == '[' && line.back() == ']') {
            current = Trim(line.substr(1, line.size() - 2));
            sections[current];
            continue;
        }
        const auto equals = line.find('=');
        if (equals == std::string::npos) continue;
        sections[current][Trim(line.substr(0, equals))] = Trim(line.substr(equals + 1));
    }
    return sections;
}

bool ParseValue(const std::string& text, Reading& reading) {
    using Source = Reading::Source;
    if (text == "cpu") return reading.source = Source::Cpu, true;
    if (text == "memory") return reading.source = Source::Memory, true;
    if (text == "absent") return reading.source = Source::Absent, true;
    const auto parts = Split(text, ':');
    if (parts.size() == 4 && parts[0] == "wave") {
        reading.source = Source::Wave;
        return ParseDouble(parts[1], reading.first) && ParseDouble(parts[2], reading.second) &&
               ParseDouble(parts[3], reading.period) && reading.period > 0;
    }
    if (parts.size() == 3 && parts[0] == "load") {
        reading.source = Source::Load;
        return ParseDouble(parts[1], reading.first) && ParseDouble(parts[2], reading.second);
    }
    reading.source = Source::Number;
    return ParseDouble(text, reading.first);
}

bool ParseReading(const std::string& text, Reading& reading) {
    // The label may itself hold ';' only if it is not the last field, so
    // split on the first two and on the last separator.
    const auto first = text.find(';');
    const auto second = first == std::string::npos ? first : text.find(';', first + 1);
    const auto last = text.rfind(';');
    if (second == std::string::npos || last <= second) return false;
    return ParseInt(Trim(text.substr(0, first)), reading.kind) && reading.kind >= 0 &&
           reading.kind < kKindSlots && ParseInt(Trim(text.substr(first + 1, second - first - 1)), reading.category) &&
           (reading.label = Trim(text.substr(second + 1, last - second - 1)), true) &&
           ParseValue(Trim(text.substr(last + 1)), reading);
}

}  // namespace

Scenario ParseScenario(const std::string& text) {
    const Sections sections = ParseIni(text);
    Scenario scenario;
    auto library = sections.find("library");
    if (library != sections.end() && library->second.count("init"))
        ParseInt(library->second.at("init"), scenario.initResult);
    for (int s = 0;; ++s) {
        auto section = sections.find("sensor" + std::to_string(s));
        if (section == sections.end()) break;
        Sensor sensor;
        auto name = section->second.find("name");
        if (name != section->second.end()) sensor.name = name->second;
        for (int r = 0;; ++r) {
            auto entry = section->second.find("reading" + std::to_string(r));
            if (entry == section->second.end()) break;
            Reading reading;
            if (ParseReading(entry->second, reading)) sensor.byKind[reading.kind].push_back(reading);
        }
        scenario.sensors.push_back(std::move(sensor));
    }
    return scenario;
}

const std::string& BuiltInScenarioText() {
    static const std::string text = R"([library]
init=0
[sensor0]
name=CPU [#0]: Compact APU 8-Core
reading0=1;11;Core 0;load:41:86
reading1=1;11;Core 1;load:40:84
reading2=1;11;CPU (Tctl/Tdie);load:43:89
reading3=6;11;Core 0 Clock;wave:3800:5100:7
reading4=2;11;Core 0 VID;wave:0.90:1.25:7
reading5=7;11;Total CPU Usage;cpu
[sensor1]
name=GPU [#0]: Integrated Graphics
reading0=1;13;GPU Temperature;load:39:78
reading1=6;13;GPU Clock;wave:800:2700:23
reading2=7;13;GPU D3D Usage;wave:3:35:23
[sensor2]
name=Mainboard Sensor Chip
reading0=1;12;CPU;load:42:88
reading1=1;12;System;load:33:47
reading2=3;12;CPU Fan;load:1400:4600
reading3=2;12;Vcore;wave:0.95:1.30:11
[sensor3]
name=Memory Timings
reading0=6;17;Memory Clock;2800
reading1=7;17;Physical Memory Load;memory
)";
    return text;
}

void UpdateValues(Scenario& scenario, const LiveInputs& inputs) {
    using Source = Reading::Source;
    for (auto& sensor : scenario.sensors) {
        for (auto& kind : sensor.byKind) {
            for (auto& reading : kind) {
                switch (reading.source) {
                case Source::Number: reading.current = reading.first; break;
                case Source::Cpu: reading.current = inputs.cpuUsage; break;
                case Source::Memory: reading.current = inputs.memoryLoad; break;
                case Source::Absent: reading.current = 0; break;
                case Source::Load:
                    reading.current = reading.first + (reading.second - reading.first) * inputs.smoothedLoad;
                    break;
                case Source::Wave: {
                    const double phase = 2 * kPi * inputs.seconds / reading.period;
                    reading.current = reading.first + (reading.second - reading.first) * (0.5 - 0.5 * std::cos(phase));
                    break;
                }
                }
            }
        }
    }
}

}  // namespace sensors
