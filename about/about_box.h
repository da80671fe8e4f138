// The about box: branding, version and the four usage figures, with a hidden shooting game
// that a typed word opens. The game's rules (ShooterGame) live apart from the form, which
// only draws them into its field picture and shows their messages.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "platform/ui_timers.h"

namespace plorin {

constexpr const char* kTriggerWord = "kw7r";

// The typed text for the trigger word: letters and digits only, and no more of them than
// the word needs (the rest could never matter).
class TriggerWatch {
public:
    // True when this key completes the word (case-sensitive); other keys are not recorded.
    bool key(char c);
    const std::string& typed() const { return typed_; }

private:
    std::string typed_;
};

// The game's state and rules, in field pixels. Counts are wide: a long game never overflows.
class ShooterGame {
public:
    static constexpr int kIcons = 10;
    static constexpr int kIconSize = 16;

    ShooterGame(int fieldWidth, int fieldHeight) : width_(fieldWidth), height_(fieldHeight) {}

    // A new game at level 1: hits, shots and score 0, every icon back, positions drawn from
    // `random` (uniform in [0, 1); top then left for each icon in turn), interval 100 ms.
    void start(const std::function<double()>& random);
    // One timer tick: every icon not hit moves one pixel and wraps at the field's edges.
    void tick();

    enum class ShotResult { ignored, counted, levelUp, gameOver };
    // A shot at (x, y); at most one icon (the first not hit whose 16-pixel box holds the
    // point, edges included) is hit.
    ShotResult shoot(int x, int y);

    bool running() const { return running_; }
    std::int64_t level() const { return level_; }
    std::int64_t hits() const { return hits_; }
    std::int64_t shots() const { return shots_; }
    std::int64_t score() const { return score_; }
    int interval() const { return interval_; }
    int top(int i) const { return top_[i]; }
    int left(int i) const { return left_[i]; }
    bool hit(int i) const { return hit_[i]; }
    void place(int i, int top, int left) {
        top_[i] = top;
        left_[i] = left;
    }
    int width() const { return width_; }
    int height() const { return height_; }

    // "Level: 1          Bullets left: 10          Score: 0".
    std::string statusLine() const;

private:
    int width_, height_;
    bool running_ = false;
    std::int64_t level_ = 1, hits_ = 0, shots_ = 0, score_ = 0;
    int interval_ = 100;
    std::array<int, kIcons> top_{}, left_{};
    std::array<bool, kIcons> hit_{};
};

class Splash : public platform::Form {
public:
    Splash();

    void Form_Load() override;
    // A typed character while the form is open.
    void Form_KeyPress(int keyAscii) override;
    void lbClose_Click();
    void lbClose_MouseMove();
    void SplashTimer_Timer();
    void ShooterLogo_Click();
    void field_MouseDown(int button, int shift, int x, int y);
    void gameTimer_Timer();

    // The icon positions' random source, uniform in [0, 1); tests set their own.
    std::function<double()> random;
    bool inGameMode() const { return gameMode_; }
    const ShooterGame& game() const { return game_; }
    ShooterGame& game() { return game_; }

    platform::PictureBox branding{*this, "branding"};
    platform::Label Version{*this, "Version"};
    platform::Label lUsageStatistics{*this, "lUsageStatistics"};
    platform::Label lSlideWizard{*this, "lSlideWizard"};
    platform::Label lMyElements{*this, "lMyElements"};
    platform::Label lAgendaWizard{*this, "lAgendaWizard"};
    platform::Label lEfficiencyTools{*this, "lEfficiencyTools"};
    platform::Label statsSlideWizard{*this, "statsSlideWizard"};
    platform::Label statsMyElements{*this, "statsMyElements"};
    platform::Label statsAgendaWizard{*this, "statsAgendaWizard"};
    platform::Label statsEfficiencyTools{*this, "statsEfficiencyTools"};
    platform::Line lSep{*this, "lSep"};
    platform::Label lbClose{*this, "lbClose"};
    platform::Timer SplashTimer{*this, "SplashTimer", 1500, true};
    platform::PictureBox field{*this, "field"};
    platform::PictureBox ShooterLogo{*this, "ShooterLogo"};
    platform::Timer gameTimer{*this, "gameTimer", 100, false};

private:
    void initializeGame();
    // Draws every icon not hit into the field's picture (cleared first).
    void drawField();
    TriggerWatch trigger_;
    ShooterGame game_;
    bool gameMode_ = false;
};

}  // namespace plorin
