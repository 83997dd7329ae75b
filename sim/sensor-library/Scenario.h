// The sensor scenario: sensors with readings, parsed from sensors.ini or
// from the built-in text, and the live values they show.
//
//   [library]   init=N               what initialise answers (default 0)
//   [sensor0]   name=...             sensors in order, from 0 without gaps
//               reading0=kind;category;label;value   readings in order
// value: a number, "cpu" (the system's CPU usage), "memory" (its memory
// load), "wave:min:max:seconds" (a sine between min and max), "absent"
// (answered as filled, with present 0), or "load:min:max", which follows the
// smoothed CPU usage between min and max (temperatures, fan speeds).
#pragma once

#include <string>
#include <vector>

namespace sensors {

inline constexpr int kKindSlots = 8;  // kind codes 0..7

struct Reading {
    enum class Source { Number, Cpu, Memory, Wave, Load, Absent };
    int kind = 0;
    int category = 0;
    std::string label;
    Source source = Source::Number;
    double first = 0;   // the number, or min
    double second = 0;  // max
    double period = 1;  // seconds, for waves
    double current = 0;
};

struct Sensor {
    std::string name;
    std::vector<Reading> byKind[kKindSlots];  // numbered per kind, in file order
};

struct Scenario {
    int initResult = 0;
    std::vector<Sensor> sensors;
};

// Parses INI text as described above; malformed readings are skipped.
Scenario ParseScenario(const std::string& text);

// The typical compact PC: an APU with integrated graphics, a mainboard
// sensor chip with the CPU fan, and memory.
const std::string& BuiltInScenarioText();

// What the live sources read at one moment.
struct LiveInputs {
    double cpuUsage = 0;       // percent
    double smoothedLoad = 0;   // 0..1
    double memoryLoad = 0;     // percent
    double seconds = 0;        // since start
};

void UpdateValues(Scenario& scenario, const LiveInputs& inputs);

}  // namespace sensors
