// The colour picker: the magnifier, the hatch for what lies beyond the screen, the picked
// colour and the mouse hook that keeps picking clicks from the windows below.
#include "tools/pick_color.h"

#include <cairo.h>

#include <algorithm>
#include <string>

#include "core/errors.h"
#include "core/shared_state.h"
#include "host/host.h"
#include "platform/screen.h"
#include "platform/services.h"

namespace plorin {

namespace mouseHook {

State::~State() {
    if (hookHandle != 0) ignoreErrors([&] { platform::pointer().unhook(hookHandle); });
}

State& state() { return plorin::state().feature<State>(); }

std::int32_t MouseProc(int nCode, std::uintptr_t wParam, const platform::MouseHookEvent* lParam) {
    State& s = state();
    try {
        // The event's own point, not the timer's last look: a click right after the pointer
        // reached the window belongs to the window.
        const bool onWindow = lParam && s.window.contains(lParam->pt.x, lParam->pt.y);
        if (nCode < 0 || onWindow) return platform::pointer().callNextHook(0, nCode, wParam, lParam);
        if (nCode == platform::HC_ACTION) {
            if (wParam == platform::WM_LBUTTONDOWN || wParam == platform::WM_RBUTTONDOWN) {
                s.clicked = true;
                return -1;
            }
            return platform::pointer().callNextHook(0, nCode, wParam, lParam);
        }
        return 0;
    } catch (...) {
        const ErrorInfo info = currentError();
        ignoreErrors([&] {
            if (s.hookHandle != 0) platform::pointer().unhook(s.hookHandle);
        });
        s.hookHandle = 0;
        reportError("mouseHook, MouseProc", &info);
        return 0;
    }
}

}  // namespace mouseHook

namespace {

constexpr int kHatchSize = 8;
constexpr std::uint32_t kHatchInk = 0x808080;  // RGB
constexpr int kBoxLeft = 5, kBoxStep = 19, kBoxSize = 17;

// The hatch pattern: grey diagonals on nothing, so the white beneath shows between them.
std::shared_ptr<platform::Picture> hatchPicture() {
    auto p = std::make_shared<platform::Picture>();
    p->width = p->height = kHatchSize;
    p->source = "hatch";
    for (int y = 0; y < kHatchSize; ++y)
        for (int x = 0; x < kHatchSize; ++x)
            p->pixels.push_back((x + y) % 4 == 0 ? platform::rgbToArgb(kHatchInk) : 0u);
    return p;
}

// The logo shown over the view while the pointer is over the window: a blue tile with a
// white diamond.
std::shared_ptr<platform::Picture> logoPicture() {
    constexpr int size = PickColor::kViewSize;
    auto p = std::make_shared<platform::Picture>();
    p->width = p->height = size;
    p->source = "logo";
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const int d = std::abs(x - size / 2) + std::abs(y - size / 2);
            p->pixels.push_back(d < size / 4 ? 0xFFFFFFFFu : 0xFF1F4E79u);
        }
    return p;
}

void placeBox(platform::ShapeControl& box, int left, int top, int width, int height) {
    box.Left = left;
    box.Top = top;
    box.Width = width;
    box.Height = height;
}

// The pixels on the edge of the box from (x1, y1) to (x2, y2), both corners included, as one
// path of rectangles that do not overlap (an inverting pen changes each pixel once).
void boxOutline(cairo_t* cr, int x1, int y1, int x2, int y2) {
    cairo_rectangle(cr, x1, y1, x2 - x1 + 1, 1);
    if (y2 > y1) cairo_rectangle(cr, x1, y2, x2 - x1 + 1, 1);
    if (y2 - y1 > 1) {
        cairo_rectangle(cr, x1, y1 + 1, 1, y2 - y1 - 1);
        if (x2 > x1) cairo_rectangle(cr, x2, y1 + 1, 1, y2 - y1 - 1);
    }
}

}  // namespace

PickColor::PickColor() : platform::Form("pickColor") {
    Caption = "Click to pick a color...";
    btnClose.Caption = "&Close";
    btnClose.Cancel = true;
    btnAdd.Caption = "&Add";
    Label1.Caption = "R";
    Label4.Caption = "G";
    Label5.Caption = "B";
    hatchBMP.Visible = false;
    hatchBMP.picture = hatchPicture();
    vnLogo.picture = logoPicture();
    vnLogo.Visible = false;
    for (int i = 0; i < 8; ++i) {
        const std::string index = "(" + std::to_string(i) + ")";
        eColors[i] = std::make_unique<platform::ShapeControl>(*this, "eColors" + index);
        pColors[i] = std::make_unique<platform::ShapeControl>(*this, "pColors" + index);
        placeBox(*pColors[i], kBoxLeft + kBoxStep * i, 72, kBoxSize, kBoxSize);
        placeBox(*eColors[i], kBoxLeft + kBoxStep * i, 96, kBoxSize, kBoxSize);
    }
    placeBox(colorBox, 68, 4, 40, 24);
    placeBox(eColorSelected, kBoxLeft, 115, kBoxSize, 4);
    eColorSelected.FillColor = 0x000000;
    eColorSelected.Visible = false;
    btnClose.onClick = [this] { btnClose_Click(); };
    btnAdd.onClick = [this] { btnAdd_Click(); };
    Timer1.onTimer = [this] { Timer1_Timer(); };
    hatch_.drawPicture(*hatchBMP.picture, 0, 0, kHatchSize, kHatchSize);
}

PickColor::~PickColor() {
    // The hook lives exactly as long as the form.
    ignoreErrors([&] { Unload(); });
}

void PickColor::Form_Load() {
    trap("pickColor, Form_Load", [&] {
        const host::ColorScheme scheme = hostApplication().ActiveWindow()->Selection().SlideRange().ColorScheme();
        for (int i = 0; i < 8; ++i) pColors[i]->FillColor = scheme.Colors(i + 1).RGB();
        showExtraColors();
        btnAdd.Enabled = false;
        // In the middle of the primary monitor.
        const platform::PixelRect primary = platform::screen().primaryMonitor();
        const int left = primary.left + (primary.width() - kClientWidth) / 2;
        const int top = primary.top + (primary.height() - kClientHeight) / 2;
        windowRect = {left, top, left + kClientWidth, top + kClientHeight};
        refresh();
        mouseHook::State& hook = mouseHook::state();
        hook.clicked = false;
        hook.overWindow = false;
        hook.window = windowRect;
        hook.hookHandle = platform::pointer().setHook(platform::WH_MOUSE_LL, &mouseHook::MouseProc);
    });
}

void PickColor::Form_Unload() {
    mouseHook::State& hook = mouseHook::state();
    if (hook.hookHandle != 0) {
        platform::pointer().unhook(hook.hookHandle);
        hook.hookHandle = 0;
    }
}

void PickColor::Form_KeyPress(int keyAscii) {
    if (keyAscii == 27) Unload();
}

void PickColor::btnClose_Click() { Unload(); }

void PickColor::showExtraColors() {
    const host::ExtraColors& extra = hostApplication().ActivePresentation()->ExtraColors();
    for (int i = 0; i < 8; ++i) {
        platform::ShapeControl& box = *eColors[i];
        box.Visible = i < extra.Count();
        if (box.Visible) box.FillColor = extra.Item(i + 1);
    }
}

void PickColor::refresh() { surface_.fill(platform::rgbToArgb(kBackColor)); }

std::shared_ptr<platform::Picture> PickColor::drawing() const {
    return std::make_shared<platform::Picture>(surface_.toPicture());
}

std::uint32_t PickColor::hatchAt(int x, int y) {
    return (x % kHatchSize + y % kHatchSize) % 4 == 0 ? kHatchInk : 0xFFFFFF;
}

void PickColor::drawHatchRect(int x1, int y1, int x2, int y2) {
    cairo_t* cr = surface_.context();
    if (!cr || !hatch_.context() || x2 <= x1 || y2 <= y1) return;
    surface_.fillRect(x1, y1, x2 - x1, y2 - y1, 0xFFFFFFFFu);
    cairo_pattern_t* brush = cairo_pattern_create_for_surface(cairo_get_target(hatch_.context()));
    cairo_pattern_set_extend(brush, CAIRO_EXTEND_REPEAT);
    cairo_pattern_set_filter(brush, CAIRO_FILTER_NEAREST);
    cairo_save(cr);
    cairo_set_source(cr, brush);
    cairo_rectangle(cr, x1, y1, x2 - x1, y2 - y1);
    cairo_fill(cr);
    cairo_restore(cr);
    cairo_pattern_destroy(brush);
}

void PickColor::Timer1_Timer() {
    trap("pickColor, Timer1_Timer", [&] {
        mouseHook::State& hook = mouseHook::state();
        const platform::ScreenPoint p = platform::pointer().cursorPos();
        if (windowRect.contains(p.x, p.y)) {
            if (!hook.overWindow) {
                vnLogo.Visible = true;
                hook.overWindow = true;
                refresh();
            }
            return;
        }
        hook.overWindow = false;
        vnLogo.Visible = false;
        const platform::Screen& screen = platform::screen();

        // The 7 by 7 pixels around the pointer, clipped to the whole virtual screen (monitors
        // left of or above the primary one have negative coordinates).
        const platform::PixelRect all = screen.virtualScreen();
        auto clip = [](int beyond) { return std::clamp(beyond, 0, 7); };
        const int left = clip(all.left + 3 - p.x), right = clip(p.x + 4 - all.right);
        const int top = clip(all.top + 3 - p.y), bottom = clip(p.y + 4 - all.bottom);
        for (int sy = top; sy < 7 - bottom; ++sy)
            for (int sx = left; sx < 7 - right; ++sx) {
                const std::uint32_t rgb = screen.pixel(p.x - 3 + sx, p.y - 3 + sy).value_or(0);
                surface_.fillRect(kViewLeft + kZoom * sx, kViewLeft + kZoom * sy, kZoom, kZoom,
                                  platform::rgbToArgb(rgb));
            }

        // The frame in the pen's colour, then the centre pixel's box inverted.
        if (cairo_t* cr = surface_.context()) {
            cairo_save(cr);
            cairo_set_source_rgb(cr, 0, 0, 0);
            boxOutline(cr, 3, 3, 60, 60);
            cairo_fill(cr);
            cairo_set_operator(cr, CAIRO_OPERATOR_DIFFERENCE);
            cairo_set_source_rgb(cr, 1, 1, 1);
            boxOutline(cr, 28, 28, 35, 35);
            cairo_fill(cr);
            cairo_restore(cr);
        }

        // What lies beyond an edge of the screen is hatched.
        const int end = kViewLeft + kViewSize;
        drawHatchRect(kViewLeft, kViewLeft, kViewLeft + kZoom * left, end);
        drawHatchRect(end - kZoom * right, kViewLeft, end, end);
        drawHatchRect(kViewLeft, kViewLeft, end, kViewLeft + kZoom * top);
        drawHatchRect(kViewLeft, end - kZoom * bottom, end, end);

        if (hook.clicked) {
            btnAdd.Enabled = true;
            const std::uint32_t rgb = screen.pixel(p.x, p.y).value_or(0);
            colorBox.FillColor = rgb;
            RGB_R.Caption = std::to_string(rgb & 0xFF);
            RGB_G.Caption = std::to_string((rgb >> 8) & 0xFF);
            RGB_B.Caption = std::to_string((rgb >> 16) & 0xFF);
            hook.clicked = false;
        }
    });
}

void PickColor::btnAdd_Click() {
    trap("pickColor, btnAdd_Click", [&] {
        const std::uint32_t picked = colorBox.FillColor;
        hostApplication().ActivePresentation()->ExtraColors().Add(picked);
        showExtraColors();
        for (int i = 0; i < 8; ++i)
            if (eColors[i]->Visible && eColors[i]->FillColor == picked) {
                eColorSelected.Visible = true;
                eColorSelected.Left = kBoxStep * i + kBoxLeft;
            }
        btnAdd.Enabled = false;
    });
}

}  // namespace plorin
