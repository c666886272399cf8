#pragma once

#include <filesystem>
#include <string>

#include "record/data_line.h"
#include "ui/sound.h"

namespace zor::administration {

using record::Subtest;
enum class PromptPart { A, B };

// A number in two digits, with a leading "0" below 10.
std::string TwoDigits(int n);

// The audio folder of a subtest: <audio>/FW or <audio>/FV.
std::filesystem::path SubtestAudioFolder(const std::filesystem::path& audiopath, Subtest subtest);

// "FWn01.wav" .. "FWn05.wav", "FVn01.wav" .. "FVn05.wav".
std::string IntroPromptFile(Subtest subtest, int prompt);
// Deletion steps 1..3 are the examples "FWv01a.wav" .. "FWv03b.wav", steps
// 4..15 the items "FWi01a.wav" .. "FWi12b.wav".
std::string DeletionPromptFile(int step, PromptPart part);
// "FVi01.wav" .. "FVi12.wav".
std::string SwapPromptFile(int item);

// The general sounds in the audio folder.
inline constexpr const char* kStopSound = "Tstop.wav";

// Plays a sound: set the file, open (silencing what the player held), play.
void PlaySound(ui::SoundPlayer& player, const std::filesystem::path& file);
// Plays a test prompt or the stop sound: as PlaySound, and the player is
// closed at once when it already reads stopped right after play.
void PlayTestSound(ui::SoundPlayer& player, const std::filesystem::path& file);

}  // namespace zor::administration
