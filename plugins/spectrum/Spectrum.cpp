// Orlavox Spectrum: a visual output plug-in with a spectrum analyser on a logarithmic frequency
// axis (bars that fall back smoothly, with peak marks that hold and then drop) over a scrolling
// spectrogram. Everything is drawn into one 32-bit bitmap and copied to the window in one go, so
// nothing flickers. The window keeps its place and size; closing it asks the player to hide the
// plug-in.
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <cwchar>
#include <vector>

#include "VisualOutputPlugin.h"

namespace {

constexpr char kClass[] = "OrlavoxSpectrum";
constexpr char kKey[] = "Software\\Quillmarsh\\Orlavox\\Spectrum.dll";
constexpr int kBarWidth = 9;           // pixels per bar, gap included
constexpr float kFloor = 50, kTop = 220;  // the level range shown: music lies mostly within it
constexpr float kFall = 10;            // levels a bar falls per snapshot
constexpr int kPeakHold = 12;          // snapshots a peak mark stays (about 600 ms)

struct State {
  HWND window = nullptr;
  HDC dc = nullptr;  // a memory context holding the bitmap
  HBITMAP bitmap = nullptr, oldBitmap = nullptr;
  uint32_t* pixels = nullptr;
  int width = 0, height = 0;
  std::vector<float> bars, peaks;
  std::vector<int> peakAge;
  bool closed = false;
};
State g;

uint32_t Rgb(int r, int g_, int b) { return uint32_t(r) << 16 | uint32_t(g_) << 8 | uint32_t(b); }

// The spectrogram's colours: night blue, violet, magenta, amber, pale yellow.
uint32_t Heat(float t) {
  static const int stops[][3] = {{10, 12, 24}, {48, 24, 120}, {176, 36, 124}, {250, 144, 40}, {255, 246, 200}};
  t = std::clamp(t, 0.0f, 1.0f) * 4;
  const int i = std::min(int(t), 3);
  const float f = t - i;
  auto mix = [&](int c) { return int(stops[i][c] + (stops[i + 1][c] - stops[i][c]) * f); };
  return Rgb(mix(0), mix(1), mix(2));
}

int AnalyserHeight() { return g.height * 3 / 5; }

// The level at a frequency fraction 0..1 of the logarithmic axis (from one bin up to half the rate),
// both channels together, between bins by straight lines.
float LevelAt(const OxVisualSnapshot& s, float fraction) {
  const float bin = std::pow(float(OX_VIS_BINS - 1), fraction);
  const int k = std::min(int(bin), OX_VIS_BINS - 2);
  const float f = bin - k;
  auto at = [&](int b) { return (s.spectrum[0][b] + s.spectrum[1][b]) * 0.5f; };
  return at(k) + (at(k + 1) - at(k)) * f;
}

void MakeBitmap() {
  RECT client;
  GetClientRect(g.window, &client);
  g.width = std::max<int>(client.right, 1), g.height = std::max<int>(client.bottom, 1);
  if (g.dc) {
    SelectObject(g.dc, g.oldBitmap);
    DeleteObject(g.bitmap);
  } else {
    HDC screen = GetDC(g.window);
    g.dc = CreateCompatibleDC(screen);
    ReleaseDC(g.window, screen);
  }
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = g.width;
  info.bmiHeader.biHeight = -g.height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  g.bitmap = CreateDIBSection(g.dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  g.pixels = static_cast<uint32_t*>(bits);
  g.oldBitmap = static_cast<HBITMAP>(SelectObject(g.dc, g.bitmap));
  if (g.pixels) std::fill(g.pixels, g.pixels + size_t(g.width) * g.height, Heat(0));
  const size_t count = std::max(g.width / kBarWidth, 8);
  g.bars.assign(count, 0);
  g.peaks.assign(count, 0);
  g.peakAge.assign(count, 0);
}

void Fill(int left, int top, int right, int bottom, uint32_t colour) {
  left = std::max(left, 0), top = std::max(top, 0), right = std::min(right, g.width), bottom = std::min(bottom, g.height);
  for (int y = top; y < bottom; ++y) std::fill(g.pixels + size_t(y) * g.width + left, g.pixels + size_t(y) * g.width + std::max(left, right), colour);
}

// Where a frequency lies on the axis (0..1), for the snapshot's rate.
float AxisAt(float hz, uint32_t rate) {
  const float bin = hz * 512 / float(rate ? rate : 44100);
  return bin <= 1 ? 0 : std::log(bin) / std::log(float(OX_VIS_BINS - 1));
}

uint32_t g_rate = 44100;

// Faint lines at 100 Hz, 1 kHz and 10 kHz, with their names at the top of the analyser, clear of
// the bass bars that cover its foot.
void DrawScale(int h) {
  static const struct {
    float hz;
    const wchar_t* name;
  } marks[] = {{100, L"100"}, {1000, L"1k"}, {10000, L"10k"}};
  SetBkMode(g.dc, TRANSPARENT);
  SetTextColor(g.dc, RGB(120, 130, 150));
  for (const auto& m : marks) {
    const int x = int(AxisAt(m.hz, g_rate) * g.width);
    if (x <= 0 || x >= g.width - 20) continue;
    for (int y = 0; y < h; y += 3) g.pixels[size_t(y) * g.width + x] = Rgb(70, 76, 96);
    TextOutW(g.dc, x + 3, 2, m.name, int(std::wcslen(m.name)));
  }
}

void DrawAnalyser() {
  GdiFlush();  // the scale's text is drawn through GDI: finish it before touching the pixels
  const int h = AnalyserHeight();
  for (int y = 0; y < h; ++y) {  // a faint gradient behind the bars
    const int shade = 16 + 10 * y / std::max(h, 1);
    Fill(0, y, g.width, y + 1, Rgb(shade, shade + 2, shade + 10));
  }
  for (size_t b = 0; b < g.bars.size(); ++b) {
    const int left = int(b) * g.width / int(g.bars.size()), right = int(b + 1) * g.width / int(g.bars.size()) - 2;
    const int top = h - int(h * g.bars[b]);
    for (int y = top; y < h; ++y) {  // teal at the bottom, warm at the top
      const float t = 1 - float(y) / h;
      Fill(left, y, right, y + 1, Rgb(int(40 + 215 * t), int(200 - 40 * t), int(220 - 180 * t)));
    }
    if (g.peaks[b] > 0.01f) {
      const int peak = h - int(h * g.peaks[b]);
      Fill(left, std::max(peak - 2, 0), right, std::max(peak, 2), Rgb(240, 240, 255));
    }
  }
  Fill(0, h, g.width, h + 1, Rgb(60, 64, 80));
  DrawScale(h);
}

void ScrollSpectrogram(const OxVisualSnapshot& s) {
  const int top = AnalyserHeight() + 1, rows = g.height - top;
  for (int y = top; y < g.height; ++y) {
    uint32_t* row = g.pixels + size_t(y) * g.width;
    std::memmove(row, row + 1, (g.width - 1) * sizeof *row);
    const float fraction = 1 - float(y - top) / std::max(rows - 1, 1);  // high frequencies at the top
    row[g.width - 1] = Heat((LevelAt(s, fraction) - kFloor) / (kTop - kFloor));
  }
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_SIZE:
      if (g.window) MakeBitmap();
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      if (g.dc) BitBlt(dc, 0, 0, g.width, g.height, g.dc, 0, 0, SRCCOPY);
      EndPaint(window, &paint);
      return 0;
    }
    case WM_CLOSE:
      g.closed = true;  // the next Render asks to be hidden
      ShowWindow(window, SW_HIDE);
      return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

DWORD Stored(const char* name, DWORD fallback) {
  DWORD value = 0, size = sizeof value;
  return RegGetValueA(HKEY_CURRENT_USER, kKey, name, RRF_RT_REG_DWORD, nullptr, &value, &size) == ERROR_SUCCESS
             ? value : fallback;
}

void Store(const char* name, int value) {
  HKEY key;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS) return;
  const DWORD v = DWORD(value);
  RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&v), sizeof v);
  RegCloseKey(key);
}

}  // namespace

extern "C" {

void OX_PLUGIN_API Show(void) {
  try {
    HINSTANCE instance = GetModuleHandleA("Spectrum.dll");
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kClass;
    RegisterClassA(&windowClass);
    g = State{};
    const int x = int(Stored("X", 120)), y = int(Stored("Y", 120));
    const int w = std::clamp(int(Stored("Width", 520)), 160, 4000), h = std::clamp(int(Stored("Height", 300)), 100, 3000);
    g.window = CreateWindowExA(WS_EX_TOOLWINDOW, kClass, "Orlavox Spectrum", WS_OVERLAPPEDWINDOW, x, y, w, h, nullptr,
                               nullptr, instance, nullptr);
    if (!g.window) return;
    MakeBitmap();
    DrawAnalyser();
    ShowWindow(g.window, SW_SHOWNOACTIVATE);
  } catch (...) {
  }
}

void OX_PLUGIN_API Hide(void) {
  if (g.window) {
    RECT r;
    if (GetWindowRect(g.window, &r) && !IsIconic(g.window)) {
      Store("X", r.left), Store("Y", r.top), Store("Width", r.right - r.left), Store("Height", r.bottom - r.top);
    }
    DestroyWindow(g.window);
  }
  if (g.dc) {
    SelectObject(g.dc, g.oldBitmap);
    DeleteObject(g.bitmap);
    DeleteDC(g.dc);
  }
  g = State{};
  UnregisterClassA(kClass, GetModuleHandleA("Spectrum.dll"));
}

uint8_t OX_PLUGIN_API Render(const OxVisualSnapshot* s) {
  if (g.closed) return 1;
  if (!g.window || !g.pixels || !s) return 0;
  bool silent = true;
  for (int k = 0; k < OX_VIS_BINS && silent; ++k) silent = s->spectrum[0][k] == 0 && s->spectrum[1][k] == 0;
  for (size_t b = 0; b < g.bars.size(); ++b) {
    const float fraction = (b + 0.5f) / g.bars.size();
    const float level = std::clamp((LevelAt(*s, fraction) - kFloor) / (kTop - kFloor), 0.0f, 1.0f);
    g.bars[b] = std::max(level, g.bars[b] - kFall / (kTop - kFloor));  // up at once, down smoothly
    if (g.bars[b] >= g.peaks[b]) {
      g.peaks[b] = g.bars[b], g.peakAge[b] = 0;
    } else if (++g.peakAge[b] > kPeakHold) {
      g.peaks[b] = std::max(0.0f, g.peaks[b] - 0.01f * (g.peakAge[b] - kPeakHold));  // drops ever faster
    }
  }
  if (s->sampleRate) g_rate = s->sampleRate;
  DrawAnalyser();
  if (!silent) ScrollSpectrogram(*s);  // a stopped player leaves the picture as it was
  InvalidateRect(g.window, nullptr, FALSE);
  return 0;
}

}  // extern "C"
