#include "ui/SkinWindow.h"

#include "base/FileSource.h"
#include "core/NamedObjects.h"
#include "ui/SkinManager.h"

namespace ox {

namespace {

constexpr const char* kUnnamedClass = "Orlavox Skin Window";

}  // namespace

SkinWindow::SkinWindow(std::string folder, SkinWindowRecords records)
    : folder_(std::move(folder)),
      record_(records.window.As<WindowRecord>()),
      elements_(std::move(records.elements)) {
  name_ = std::string(FieldText(record_.header.name));
  key_ = SkinWindowKey(folder_, name_);
  conditionText_ = std::string(FieldText(record_.showCondition));
  condition_ = ClassifyShowCondition(conditionText_);
  if (condition_ == ShowCondition::Event) event_ = SkinEvent(conditionText_);
}

bool SkinWindow::ConditionHolds() const {
  switch (condition_) {
    case ShowCondition::Always:
    case ShowCondition::MainWindow:
      return true;
    case ShowCondition::Event:
      return event_ && event_->IsSet();
    case ShowCondition::Never:
      break;
  }
  return false;
}

bool SkinWindow::Create(const SkinWindow* first, HWND taskbar) {
  if (window_) return true;
  closing_ = false;
  const std::string bitmapName(FieldText(record_.bitmap));
  if (IsBitmapName(bitmapName)) background_.LoadFile(folder_ + bitmapName + ".bmp");

  const bool topmost = IsTopmost() || (first && first->IsTopmost());
  DWORD style = WS_POPUP, exStyle = WS_EX_TOOLWINDOW;
  if (IsMainWindow()) style |= WS_SYSMENU | WS_MINIMIZEBOX, exStyle = 0;
  if (topmost) exStyle |= WS_EX_TOPMOST;
  WindowClass windowClass{name_.empty() ? kUnnamedClass : name_.c_str(), Procedure, CS_OWNDC | CS_DBLCLKS};
  if (!window_.Create(windowClass, IsMainWindow() ? "Orlavox" : "", style, exStyle, 100, 100, 50, 50,
                      topmost ? nullptr : taskbar, this))
    return false;
  const SkinHeader& h = record_.header;
  const int32_t x = h.x, y = h.y;  // copies: packed fields
  window_.Move(x, y);
  window_.Resize(background_.Width(), background_.Height());
  ApplyOutline();
  window_.Show(SW_SHOWNOACTIVATE);
  return true;
}

void SkinWindow::ApplyOutline() {
  const std::string bitmapName(FieldText(record_.bitmap));
  if (!IsBitmapName(bitmapName)) return;
  DataFile file(folder_ + bitmapName + ".bin", FileAccess::Read, FileCreation::OpenExisting);
  if (!file.IsOpen()) return;
  FileSource source(file);
  const std::vector<SkinPoint> points = ReadOutline(source);
  if (points.size() < 3) return;
  std::vector<POINT> polygon(points.size());
  for (size_t i = 0; i < points.size(); ++i) polygon[i] = {points[i].x, points[i].y};
  HRGN region = CreatePolygonRgn(polygon.data(), static_cast<int>(polygon.size()), ALTERNATE);
  if (region && !SetWindowRgn(window_.Handle(), region, TRUE)) DeleteObject(region);  // the window owns it
}

void SkinWindow::StartClosing() {
  window_.Hide();
  closing_ = true;
}

void SkinWindow::Destroy() {
  window_.Destroy();
  background_.Release();
  closing_ = false;
}

void SkinWindow::Invalidate() const {
  if (window_) InvalidateRect(window_.Handle(), nullptr, FALSE);
}

LRESULT CALLBACK SkinWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<SkinWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  LRESULT result = 0;
  if (self) {
    std::lock_guard<std::recursive_mutex> hold(SkinLock());
    if (self->OnMessage(window, message, result)) return result;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

bool SkinWindow::OnMessage(HWND window, UINT message, LRESULT& result) {
  switch (message) {
    case WM_ERASEBKGND:
      result = 1;  // the background bitmap covers everything
      return true;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      background_.CopyTo(dc, 0, 0);
      EndPaint(window, &paint);
      return true;
    }
    case WM_CLOSE:
      evt::OxClose.Set();
      return true;
  }
  return false;
}

}  // namespace ox
