/* The smallest useful visual output plug-in: a window with two level bars, left and right, from
 * each snapshot's waveform. Copy it to start a plug-in of your own (see VisualOutputPlugin.h).
 * Closing the window asks the player to hide the plug-in. */
#include "VisualOutputPlugin.h"

static HWND g_window;
static int g_levels[2];  /* 0..128: the loudest sample of each channel */
static int g_closed;

static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    PAINTSTRUCT paint;
    RECT client, bar;
    HDC dc = BeginPaint(window, &paint);
    HBRUSH back = CreateSolidBrush(RGB(24, 28, 36)), fill = CreateSolidBrush(RGB(80, 200, 255));
    int c;
    GetClientRect(window, &client);
    FillRect(dc, &client, back);
    for (c = 0; c < 2; ++c) {
      bar.left = 8;
      bar.right = 8 + (client.right - 16) * g_levels[c] / 128;
      bar.top = 8 + c * (client.bottom - 8) / 2;
      bar.bottom = bar.top + (client.bottom - 24) / 2;
      FillRect(dc, &bar, fill);
    }
    DeleteObject(back);
    DeleteObject(fill);
    EndPaint(window, &paint);
    return 0;
  }
  if (message == WM_CLOSE) {
    g_closed = 1; /* the next Render asks to be hidden */
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

void OX_PLUGIN_API Show(void) {
  WNDCLASSA windowClass = {0};
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = GetModuleHandleA("Example Levels.dll");
  windowClass.hCursor = LoadCursor(NULL, IDC_ARROW);
  windowClass.lpszClassName = "OxExampleLevels";
  RegisterClassA(&windowClass);
  g_closed = 0;
  g_window = CreateWindowExA(WS_EX_TOOLWINDOW, "OxExampleLevels", "Levels", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                             CW_USEDEFAULT, CW_USEDEFAULT, 300, 90, NULL, NULL, windowClass.hInstance, NULL);
}

void OX_PLUGIN_API Hide(void) {
  if (g_window) DestroyWindow(g_window);
  g_window = NULL;
  UnregisterClassA("OxExampleLevels", GetModuleHandleA("Example Levels.dll"));
}

uint8_t OX_PLUGIN_API Render(const OxVisualSnapshot* snapshot) {
  int c, i;
  if (g_closed) return 1;
  for (c = 0; c < 2; ++c) {
    int loudest = 0;
    for (i = 0; i < OX_VIS_FRAMES; ++i) {
      const int v = snapshot->waveform[c][i] < 0 ? -snapshot->waveform[c][i] : snapshot->waveform[c][i];
      if (v > loudest) loudest = v;
    }
    g_levels[c] = loudest;
  }
  if (g_window) InvalidateRect(g_window, NULL, FALSE);
  return 0;
}
