// The per-user store of the stored defaults, the two memos and the last-used paths,
// shared by every instance of the plug-in for that user. One implementation per
// platform, chosen at build time: on Windows the registry key "SOFTWARE\QEL-sonics\TARVA"
// under HKEY_CURRENT_USER; elsewhere one file per value, named like the value, in
// $XDG_CONFIG_HOME/QEL-sonics/TARVA/ (by default ~/.config/QEL-sonics/TARVA/).
//
// Every failure is silent. Never on the audio thread: the user-interface thread, or the
// thread that creates or releases an instance.
#pragma once

#include "presets/PathMemory.h"

#include <cstddef>
#include <span>

namespace userStore
{
// Records, as preset, bank and MIDI-settings files hold them.
inline constexpr const char* kDefaultBank = "DefaultBank";
inline constexpr const char* kDefaultPreset = "DefaultPreset";
inline constexpr const char* kDefaultMidi = "DefaultMidi";
inline constexpr const char* kMemoA = "MemoA";
inline constexpr const char* kMemoB = "MemoB";
// The path memory; texts of at most 256 bytes of UTF-8.
inline constexpr const char* kCurrentDirectory = "CurrDir";
inline constexpr const char* kCurrentBankFile = "CurrBank";
inline constexpr const char* kCurrentPresetFile = "CurrPreset";
inline constexpr const char* kCurrentMidiFile = "CurrMidi";

// Reads the value into record. False, with the record all zero, when the value is missing,
// unreadable, or not exactly the record's size.
[[nodiscard]] bool readRecord(const char* name, std::span<std::byte> record) noexcept;
// Stores exactly these bytes, whole or not at all.
bool writeRecord(const char* name, std::span<const std::byte> record) noexcept;
bool deleteValue(const char* name) noexcept;

// Empty when the value is missing, unreadable or does not fit.
void readPath(const char* name, PathBuffer& text) noexcept;
bool writePath(const char* name, const PathBuffer& text) noexcept;
} // namespace userStore
