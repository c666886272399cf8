#pragma once

#include <array>
#include <memory>
#include <string>

#include "administration/links.h"
#include "administration/prompts.h"
#include "ui/screen.h"
#include "ui/sound.h"
#include "ui/timer.h"

namespace zor::administration {

// An introduction screen: five prompts (the introduction, three practice
// words or names, the instruction) unlocked one by one, continuing to the
// test phase and interrupting the administration. `TFWin` and `TFVin`
// differ in their folder, player, texts and layout and in a few steps.
class TIntroduction : public ui::Screen {
  public:
    static constexpr int kPromptCount = 5;
    // PendingAction values.
    static constexpr int kInterrupt = 1;
    static constexpr int kContinue = 2;

    ui::Picture Background{*this, "Background", {0, 0, 800, 600}};
    ui::ImageButton Int1;
    ui::ImageButton Int2;
    ui::ImageButton Int3;
    ui::ImageButton Int4;
    ui::ImageButton int5;
    ui::Label Label1;
    ui::Label Label2;
    ui::Label Label3;
    ui::Label Label4;
    ui::Label Label5;
    ui::ImageButton ButtonOT{*this, "ButtonOT", {134, 429, 209, 130}};
    ui::ImageButton ButtonIO{*this, "ButtonIO", {452, 429, 209, 130}};
    // Polls the prompt player while a prompt plays.
    ui::Timer Timer;

    std::filesystem::path audioFolder;
    bool NotInterrupted = true;
    bool InstructionHeard = false;

    // Prompt n (1..5), by image or label.
    void IntroClick(int prompt);
    void DoorgaanClick();
    void OnderbrekenClick();
    // Prepares the screen for a new or resumed administration.
    void ResetIntro();
    // The rest picture of the continue button after an interruption or when
    // an administration is continued.
    void OfferResume();

    ui::ImageButton& image(int prompt) { return *images_[prompt - 1]; }
    ui::Label& label(int prompt) { return *labels_[prompt - 1]; }
    ui::SoundPlayer& player() { return *player_; }

  protected:
    struct Layout {
        int imageX, labelX, firstY, rowHeight;
    };
    TIntroduction(ui::Application& app, AdministrationLinks& links, Subtest subtest,
                  std::string name, std::string playerName, const Layout& layout,
                  const std::array<std::string, kPromptCount>& texts);

    void onShow() override;
    void onClose() override;
    void LatencyStep() override;

    // What the two introductions do differently.
    virtual void interruptOwnSubtest() = 0;
    virtual void prepareTestScreen() = 0;
    virtual ui::Screen& testScreen() = 0;

    AdministrationLinks& links_;

  private:
    void PlayIntroPrompt(int prompt);
    void TimerTick();
    void setBigButtonsEnabled(bool on);

    Subtest subtest_;
    std::unique_ptr<ui::SoundPlayer> player_;
    std::array<ui::ImageButton*, kPromptCount> images_;
    std::array<ui::Label*, kPromptCount> labels_;
    int polledPrompt_ = 0;
};

// The phoneme-deletion introduction.
class TFWin : public TIntroduction {
  public:
    TFWin(ui::Application& app, AdministrationLinks& links);

  protected:
    void interruptOwnSubtest() override;
    void prepareTestScreen() override {}
    ui::Screen& testScreen() override;
};

// The phoneme-swap introduction.
class TFVin : public TIntroduction {
  public:
    TFVin(ui::Application& app, AdministrationLinks& links);

  protected:
    void interruptOwnSubtest() override {}
    void prepareTestScreen() override;
    ui::Screen& testScreen() override;
};

}  // namespace zor::administration
