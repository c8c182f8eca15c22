#include "presets/ControllerNames.h"

#include <array>

namespace
{
// 0-127 name the MIDI controller numbers; 128 is "no controller", 129 "no parameter".
constexpr std::array<const char*, kNumControllerNames> kControllerNames = {{
    "bank sel MSB", // 0
    "modulation",   // 1
    "breath",       // 2
    "control 3",    // 3
    "foot",         // 4
    "portamento",   // 5
    "data ent MSB", // 6
    "main volume",  // 7
    "balance",      // 8
    "control 9",    // 9
    "pan",          // 10
    "expression",   // 11
    "control 12",   // 12
    "control 13",   // 13
    "control 14",   // 14
    "control 15",   // 15
    "gen purp 1",   // 16
    "gen purp 2",   // 17
    "gen purp 3",   // 18
    "gen purp 4",   // 19
    "control 20",   // 20
    "control 21",   // 21
    "control 22",   // 22
    "control 23",   // 23
    "control 24",   // 24
    "control 25",   // 25
    "control 26",   // 26
    "control 27",   // 27
    "control 28",   // 28
    "control 29",   // 29
    "control 30",   // 30
    "control 31",   // 31
    "bank sel LSB", // 32
    "modul. LSB",   // 33
    "breath LSB",   // 34
    "control 35",   // 35
    "foot LSB",     // 36
    "porta LSB",    // 37
    "data ent LSB", // 38
    "main vol LSB", // 39
    "balance LSB",  // 40
    "control 41",   // 41
    "pan LSB",      // 42
    "express. LSB", // 43
    "control 44",   // 44
    "control 45",   // 45
    "control 46",   // 46
    "control 47",   // 47
    "control 48",   // 48
    "control 49",   // 49
    "control 50",   // 50
    "control 51",   // 51
    "control 52",   // 52
    "control 53",   // 53
    "control 54",   // 54
    "control 55",   // 55
    "control 56",   // 56
    "control 57",   // 57
    "control 58",   // 58
    "control 59",   // 59
    "control 60",   // 60
    "control 61",   // 61
    "control 62",   // 62
    "control 63",   // 63
    "sustain",      // 64
    "porta on/off", // 65
    "sostenuto",    // 66
    "soft pedal",   // 67
    "legato FS",    // 68
    "hold 2",       // 69
    "sound var",    // 70
    "harmonic",     // 71
    "release time", // 72
    "attack time",  // 73
    "brightness",   // 74
    "control 75",   // 75
    "control 76",   // 76
    "control 77",   // 77
    "control 78",   // 78
    "control 79",   // 79
    "gen purp 5",   // 80
    "gen purp 6",   // 81
    "gen purp 7",   // 82
    "gen purp 8",   // 83
    "porta ctrl",   // 84
    "control 85",   // 85
    "control 86",   // 86
    "control 87",   // 87
    "control 88",   // 88
    "control 89",   // 89
    "control 90",   // 90
    "ext FX",       // 91
    "tremolo",      // 92
    "chorus",       // 93
    "detune",       // 94
    "phaser",       // 95
    "data incr",    // 96
    "data decr",    // 97
    "NRPN LSB",     // 98
    "NRPN MSB",     // 99
    "RPN LSB",      // 100
    "RPN MSB",      // 101
    "control 102",  // 102
    "control 103",  // 103
    "control 104",  // 104
    "control 105",  // 105
    "control 106",  // 106
    "control 107",  // 107
    "control 108",  // 108
    "control 109",  // 109
    "control 110",  // 110
    "control 111",  // 111
    "control 112",  // 112
    "control 113",  // 113
    "control 114",  // 114
    "control 115",  // 115
    "control 116",  // 116
    "control 117",  // 117
    "control 118",  // 118
    "control 119",  // 119
    "all snd off",  // 120
    "reset ctrl",   // 121
    "local ctrl",   // 122
    "all note off", // 123
    "omni off",     // 124
    "omni on",      // 125
    "mono mode on", // 126
    "poly mode on", // 127
    "not assigned", // 128
    "",             // 129
}};
} // namespace

const char* controllerName(int displayIndex) noexcept
{
    if (displayIndex < 0 || displayIndex >= kNumControllerNames)
        return "";
    return kControllerNames[static_cast<unsigned>(displayIndex)];
}
