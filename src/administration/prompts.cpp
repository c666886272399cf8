#include "administration/prompts.h"

#include <stdexcept>

namespace zor::administration {

std::string TwoDigits(int n) { return (n < 10 ? "0" : "") + std::to_string(n); }

std::filesystem::path SubtestAudioFolder(const std::filesystem::path& audiopath, Subtest subtest) {
    return audiopath / (subtest == Subtest::FW ? "FW" : "FV");
}

std::string IntroPromptFile(Subtest subtest, int prompt) {
    return std::string(subtest == Subtest::FW ? "FWn" : "FVn") + TwoDigits(prompt) + ".wav";
}

std::string DeletionPromptFile(int step, PromptPart part) {
    if (step < 1 || step > 15)
        throw std::out_of_range("Geen stap van de foneemweglating: " + std::to_string(step));
    const std::string stem =
        step <= 3 ? "FWv0" + std::to_string(step) : "FWi" + TwoDigits(step - 3);
    return stem + (part == PromptPart::A ? "a" : "b") + ".wav";
}

std::string SwapPromptFile(int item) {
    if (item < 1 || item > 12)
        throw std::out_of_range("Geen item van de foneemverwisseling: " + std::to_string(item));
    return "FVi" + TwoDigits(item) + ".wav";
}

void PlaySound(ui::SoundPlayer& player, const std::filesystem::path& file) {
    player.setFileName(file.string());
    player.open();
    player.play();
}

void PlayTestSound(ui::SoundPlayer& player, const std::filesystem::path& file) {
    PlaySound(player, file);
    if (player.mode() == ui::PlayerMode::Stopped) player.close();
}

}  // namespace zor::administration
