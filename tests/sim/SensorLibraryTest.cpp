// The sensor library stand-in is as strict as the library it replaces: a
// program that passed the wrong initialisation argument or skipped the
// sensor selection would get nothing from it.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>

#include "ScopedSimFolder.h"

namespace {

using Initialise = int(WINAPI*)(int);
using Count = int(WINAPI*)();
using Select = void(WINAPI*)(int);
using Name = void(WINAPI*)(int, char*, int);
using Query = int(WINAPI*)(int, int, int, void*);

template <class Fn>
Fn Ordinal(HMODULE library, WORD ordinal) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(library, MAKEINTRESOURCEA(ordinal))));
}

constexpr char kScenario[] =
    "[sensor0]\r\nname=CPU [#0]: Test CPU\r\nreading0=1;11;Core 0;45\r\n"
    "[sensor1]\r\nname=GPU [#0]: Test Graphics\r\nreading0=1;13;GPU Temperature;50\r\n";
constexpr int kTemperatureKind = 1;

TEST(SensorLibrary, AnswersOnlyTheProgramsArgumentAndTheSelectedSensor) {
    ScopedSimFolder sim;
    sim.Write(L"sensors.ini", kScenario);
    HMODULE library = LoadLibraryA("HWiNFO32.dll");
    ASSERT_NE(library, nullptr);
    const auto initialise = Ordinal<Initialise>(library, 850);
    const auto count = Ordinal<Count>(library, 156);
    const auto select = Ordinal<Select>(library, 678);
    const auto name = Ordinal<Name>(library, 952);
    const auto query = Ordinal<Query>(library, 641);
    ASSERT_TRUE(initialise && count && select && name && query);

    EXPECT_NE(initialise(191), 0) << "a wrong argument was accepted";
    EXPECT_EQ(initialise(192), 0);
    ASSERT_EQ(count(), 2);

    alignas(8) unsigned char record[464] = {};
    char buffer[256] = {};
    select(1);
    EXPECT_EQ(query(kTemperatureKind, 0, 0, record), 0) << "read a sensor that was not selected";
    name(0, buffer, sizeof(buffer));
    EXPECT_STREQ(buffer, "");
    select(0);
    EXPECT_NE(query(kTemperatureKind, 0, 0, record), 0);
    name(0, buffer, sizeof(buffer));
    EXPECT_STREQ(buffer, "CPU [#0]: Test CPU");
    FreeLibrary(library);
}

}  // namespace
