// PerformanceModePorts: the three port sequences of the firmware's
// performance-mode dialogue (read, write, defaults write) and the mapping of
// the firmware's mode bytes.
//
// Each sequence is an index/data dialogue on shared ports, and the defaults
// write runs on the UI thread while the worker runs the others, so every
// whole sequence holds one process-wide lock. Nothing reaches the ports
// before Initialise has been called: a sequence asked for earlier waits up
// to two seconds for it and is then dropped.
#pragma once

#include <cstdint>
#include <optional>

class PerformanceModePorts {
public:
    // Initialises the port library (ordinal 7) once; later calls do nothing.
    static void Initialise();
    static bool IsInitialised();

    // Asks the firmware to publish its mode and reads the mode byte; the
    // mapped mode, or nothing for a byte outside the table (or without
    // Initialise).
    static std::optional<int> ReadMode();

    // Applies mode 0..2; any other value produces no port access.
    static void WriteMode(int mode);

    // The defaults reset's write: always mode 1.
    static void WriteDefaults();

    // 0xA0/0xB0 -> 0, 0xA1/0xB1 -> 1, 0xA2/0xB2 -> 2, anything else nothing.
    static std::optional<int> ModeFromFirmwareByte(uint8_t value);
};
