// Skin files: records of any content, held to the skin bounds, elements attached to windows or
// dropped. Then what a file gives goes through the window arithmetic (group bounds, element
// rectangles, placement, animation, docking, snapping), with the screen, the cursor and the saved
// places (which no skin bound holds) taken from the same bytes, so that an overflow there is found.
#include "ui/ControlMath.h"
#include "ui/SkinGeometry.h"
#include "ui/SkinLimits.h"
#include "ui/SkinRecords.h"

namespace {

bool Sane(const ox::SkinHeader& h) {
  const int32_t x = h.x, y = h.y, width = h.width, height = h.height;
  return x >= -ox::kMaxSkinCoordinate && x <= ox::kMaxSkinCoordinate && y >= -ox::kMaxSkinCoordinate &&
         y <= ox::kMaxSkinCoordinate && width >= 0 && width <= ox::kMaxSkinExtent && height >= 0 &&
         height <= ox::kMaxSkinExtent;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ox::MemorySource source(std::vector<uint8_t>(data, data + size));
  const std::vector<ox::SkinWindowRecords> windows = ox::ReadSkinFile(source);
  if (windows.size() > ox::kMaxSkinWindows) __builtin_trap();
  size_t records = 0;
  for (const ox::SkinWindowRecords& w : windows) {
    records += 1 + w.elements.size();
    const ox::SkinHeader window = w.window.Header();
    if (!Sane(window) || w.elements.size() > ox::kMaxWindowElements) __builtin_trap();
    for (const ox::SkinRecord& e : w.elements) {
      if (e.Header().windowId != window.windowId || !Sane(e.Header())) __builtin_trap();
      ox::ElementRect(e.Header(), window);
    }
  }
  if (records > size / ox::kSkinRecordSize) __builtin_trap();

  // Any 32-bit value, from the input's bytes in turn, beginning with the tail after the last whole
  // record (which the skin reader ignores, so it is free for these).
  size_t at = size - size % ox::kSkinRecordSize;
  auto any = [&] {
    uint32_t v = 0;
    for (int i = 0; i < 4 && size; ++i) v |= uint32_t{data[at++ % size]} << (8 * i);
    return static_cast<int32_t>(v);
  };
  const ox::SkinRect group = ox::GroupBounds(windows);
  std::vector<ox::DragWindow> drag;
  for (size_t i = 0; i < windows.size(); ++i) {
    const ox::WindowRecord r = windows[i].window.As<ox::WindowRecord>();
    const ox::SkinHeader first = windows[0].window.Header();
    ox::PlacementInput in;
    in.placement = r.placement;
    in.isFirst = i == 0;
    in.record = {r.header.x, r.header.y};
    in.firstRecord = {first.x, first.y};
    in.firstNow = ox::WindowPlace{any(), any()};
    in.relative = ox::WindowPlace{any(), any()};
    in.saved = ox::WindowPlace{any(), any()};
    in.cursor = {any(), any()};
    in.group = group;
    in.work = {any(), any(), any(), any()};
    in.width = r.header.width, in.height = r.header.height;
    in.workAreas = {in.work, {any(), any(), any(), any()}};
    const ox::WindowPlace home = ox::HomePosition(in);
    ox::AnimationStart(r.openingAnimation, home, in.width, in.height, group, in.work);
    const ox::SkinRect place{home.x, home.y, ox::Saturate(int64_t{home.x} + in.width),
                             ox::Saturate(int64_t{home.y} + in.height)};
    drag.push_back({place, r.placement, any() % 2 == 0});
  }
  const ox::Docking docking = ox::FindDocking(drag);
  for (size_t i = 0; i < drag.size(); ++i) {
    ox::WindowsThatMove(i, drag, docking);
    ox::Snapped(i, {any(), any()}, drag, docking);
  }
  const int32_t volume = ox::VolumeAfterWheel(any(), static_cast<int16_t>(any()));
  if (volume < 0 || volume > 100) __builtin_trap();
  return 0;
}
