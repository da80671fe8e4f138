#include "about/about_box.h"

#include <cmath>
#include <random>
#include <vector>

#include "core/errors.h"
#include "core/images.h"
#include "core/product_name.h"
#include "core/registry.h"
#include "core/shared_state.h"
#include "core/usage_counters.h"
#include "core/version.h"
#include "platform/filesystem.h"
#include "platform/picture.h"
#include "platform/services.h"
#include "platform/ui_driver.h"

namespace plorin {

namespace {
constexpr int kFieldWidth = 320;
constexpr int kFieldHeight = 120;
constexpr std::uint32_t kFieldColour = 0xFFFFFFFF;
// The ten targets' colours, one per icon.
constexpr std::uint32_t kIconColours[ShooterGame::kIcons] = {0xFFD03030, 0xFF30A030, 0xFF3050D0, 0xFFD0A020,
                                                             0xFF9040C0, 0xFF20A0A0, 0xFFE07020, 0xFF606060,
                                                             0xFFC03080, 0xFF4080F0};

const std::string kBlanks(10, ' ');
}  // namespace

bool TriggerWatch::key(char c) {
    const bool counts = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    if (!counts) return false;
    typed_ += c;
    const std::string word = kTriggerWord;
    if (typed_.size() > word.size()) typed_.erase(0, typed_.size() - word.size());
    return typed_ == word;
}

void ShooterGame::start(const std::function<double()>& random) {
    hit_.fill(false);
    level_ = 1;
    hits_ = shots_ = score_ = 0;
    for (int i = 0; i < kIcons; ++i) {
        top_[i] = static_cast<int>(std::floor(random() * height_));
        left_[i] = static_cast<int>(std::floor(random() * width_));
    }
    interval_ = 100;
    running_ = true;
}

void ShooterGame::tick() {
    for (int i = 0; i < kIcons; ++i) {
        if (hit_[i]) continue;
        top_[i] -= (i % 2 == 0) ? 1 : -1;
        left_[i] -= ((i / 2) % 2 == 0) ? 1 : -1;
        if (top_[i] < 0) top_[i] = height_;
        if (left_[i] < 0) left_[i] = width_;
        if (top_[i] > height_) top_[i] = 0;
        if (left_[i] > width_) left_[i] = 0;
    }
}

ShooterGame::ShotResult ShooterGame::shoot(int x, int y) {
    if (!running_) return ShotResult::ignored;
    ++shots_;
    for (int i = 0; i < kIcons; ++i) {
        if (hit_[i]) continue;
        if (left_[i] <= x && x <= left_[i] + kIconSize && top_[i] <= y && y <= top_[i] + kIconSize) {
            hit_[i] = true;
            ++hits_;
            score_ += level_ * 10;
            break;
        }
    }
    if (shots_ < kIcons) return ShotResult::counted;
    if (hits_ < kIcons) {
        running_ = false;
        return ShotResult::gameOver;
    }
    ++level_;
    hits_ = shots_ = 0;
    hit_.fill(false);
    interval_ = interval_ / 2 + 1;
    return ShotResult::levelUp;
}

std::string ShooterGame::statusLine() const {
    return "Level: " + std::to_string(level_) + kBlanks + "Bullets left: " + std::to_string(kIcons - shots_) + kBlanks +
           "Score: " + std::to_string(score_);
}

Splash::Splash() : platform::Form("Splash"), game_(kFieldWidth, kFieldHeight) {
    Caption = kProductName;
    lUsageStatistics.Caption = "Usage statistics";
    lbClose.Caption = "Close";
    lbClose.Visible = false;
    field.Visible = false;
    // The start button the game's first message names.
    ShooterLogo.Caption = "Start game";
    ShooterLogo.Visible = false;
    lbClose.onClick = [this] { lbClose_Click(); };
    lbClose.onMouseMove = [this] { lbClose_MouseMove(); };
    ShooterLogo.onClick = [this] { ShooterLogo_Click(); };
    field.onMouseDown = [this](int button, int shift, int x, int y) { field_MouseDown(button, shift, x, y); };
    SplashTimer.onTimer = [this] { SplashTimer_Timer(); };
    gameTimer.onTimer = [this] { gameTimer_Timer(); };
    // Seeded through the shell's GUID source, so that a host that makes its ids repeatable
    // replays the same game.
    std::vector<std::uint32_t> seedWords;
    if (const auto guid = platform::shell().newGuid()) seedWords.assign(guid->begin(), guid->end());
    else seedWords.push_back(std::random_device{}());
    std::seed_seq seed(seedWords.begin(), seedWords.end());
    random = [engine = std::make_shared<std::mt19937>(seed)] {
        return std::uniform_real_distribution<double>(0.0, 1.0)(*engine);
    };
}

void Splash::Form_Load() {
    trap("Splash, Form_Load", [&] {
        lSlideWizard.Caption = "Slide Wizard";
        lMyElements.Caption = "My Elements";
        lAgendaWizard.Caption = "Agenda Wizard";
        lEfficiencyTools.Caption = "Efficiency Tools";
        // A picture that fails to load is left out; the version and the figures still show.
        const std::string picture = state().layout.customization + "branding.gif";
        branding.picture = platform::fileSystem().fileExists(picture) ? loadPictureGdiPlus(picture) : nullptr;
        Version.Caption = "Version: " + versionText();
        flushUsageCounters();  // the counts kept in memory too
        statsSlideWizard.Caption = getRegistry("statsSlideWizard", "", "0");
        statsMyElements.Caption = getRegistry("statsMyElements", "", "0");
        statsAgendaWizard.Caption = getRegistry("statsAgendaWizard", "", "0");
        statsEfficiencyTools.Caption = getRegistry("statsEfficiencyTools", "", "0");
    });
}

void Splash::Form_KeyPress(int keyAscii) {
    trap("Splash, Form_KeyPress", [&] {
        if (keyAscii < 0 || keyAscii > 127 || !trigger_.key(static_cast<char>(keyAscii))) return;
        gameMode_ = true;
        field.Visible = true;
        ShooterLogo.Visible = true;
        lSep.Visible = lUsageStatistics.Visible = false;
        statsSlideWizard.Visible = statsMyElements.Visible = false;
        statsAgendaWizard.Visible = statsEfficiencyTools.Visible = false;
        lAgendaWizard.Visible = lEfficiencyTools.Visible = false;
        lSlideWizard.Caption = "Need a break?";
        lMyElements.Caption = "Click 'Start game' and shoot at the moving icons.";
        drawField();
    });
}

void Splash::lbClose_Click() {
    trap("Splash, lbClose_Click", [&] { Unload(); });
}

void Splash::lbClose_MouseMove() {
    trap("Splash, lbClose_MouseMove", [&] { cursor = platform::IDC_HAND; });
}

void Splash::SplashTimer_Timer() {
    trap("Splash, SplashTimer_Timer", [&] { Unload(); });
}

void Splash::ShooterLogo_Click() {
    trap("Splash, ShooterLogo_Click", [&] { initializeGame(); });
}

void Splash::initializeGame() {
    trap("Splash, initializeGame", [&] {
        game_.start(random);
        ShooterLogo.Visible = false;
        lSlideWizard.Caption = "";
        lMyElements.Caption = game_.statusLine();
        drawField();
        gameTimer.setInterval(game_.interval());
        gameTimer.setEnabled(true);
    });
}

void Splash::gameTimer_Timer() {
    trap("Splash, gameTimer_Timer", [&] {
        game_.tick();
        drawField();
    });
}

void Splash::field_MouseDown(int, int, int x, int y) {
    trap("Splash, field_MouseDown", [&] {
        if (ShooterLogo.Visible) return;
        const auto result = game_.shoot(x, y);
        if (result == ShooterGame::ShotResult::ignored) return;
        lMyElements.Caption = game_.statusLine();
        if (result == ShooterGame::ShotResult::gameOver) {
            platform::MsgBox("Too bad, you missed " + std::to_string(ShooterGame::kIcons - game_.hits()) +
                                 " icons!\nYour score is: " + std::to_string(game_.score()),
                             platform::vbInformation, kProductName);
            gameTimer.setEnabled(false);
            ShooterLogo.Visible = true;
            drawField();
        } else if (result == ShooterGame::ShotResult::levelUp) {
            platform::MsgBox("Very good! You have reached level " + std::to_string(game_.level()) + ".",
                             platform::vbInformation, kProductName);
            gameTimer.setInterval(game_.interval());
            lMyElements.Caption = game_.statusLine();
        }
    });
}

void Splash::drawField() {
    platform::releaseFontCachesAtExit();
    platform::Canvas canvas(game_.width() + ShooterGame::kIconSize, game_.height() + ShooterGame::kIconSize);
    canvas.fill(kFieldColour);
    if (game_.running())
        for (int i = 0; i < ShooterGame::kIcons; ++i)
            if (!game_.hit(i))
                canvas.fillRect(game_.left(i), game_.top(i), ShooterGame::kIconSize, ShooterGame::kIconSize,
                                kIconColours[i]);
    auto picture = std::make_shared<platform::Picture>(canvas.toPicture());
    picture->source = "field";
    field.picture = std::move(picture);
}

}  // namespace plorin
