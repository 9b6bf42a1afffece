// A slider element: a track, a fill and a knob bitmap showing a shared value (volume, balance,
// position, an equaliser slider or the preamp), re-read from its block on the refresh and set by
// dragging along it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "ui/Bitmap.h"
#include "ui/ControlMath.h"
#include "ui/SkinGeometry.h"
#include "ui/SkinRecords.h"

namespace ox {

class SliderElement {
 public:
  SliderElement(const SkinRecord& record, const SkinHeader& window);
  SliderElement(const SliderElement&) = delete;
  SliderElement& operator=(const SliderElement&) = delete;

  void Load(const std::string& folder);
  void Release();

  int32_t Source() const { return design_.source; }
  bool Hits(int32_t x, int32_t y) const { return ox::Hits(design_.rect, x, y); }
  bool Dragging() const { return times_.dragging; }

  // The full repaint: the value from `sources` (unless dragged), drawn over the background.
  void Paint(HDC backBuffer, const Bitmap& background, const SliderSources& sources);
  // Whether the slider is to read its source now (see SliderDue); Read then shows what it read:
  // true when the value changed (the slider is redrawn and its rectangle invalidated).
  bool Due(uint32_t now) { return SliderDue(times_, now); }
  bool Read(int32_t value, uint32_t now, HWND window, HDC backBuffer, const Bitmap& background);

  // A left press at x, y (on the slider) starts a drag and captures the mouse; a move while
  // dragging follows the cursor. Each writes the value it sets to the slider's source and redraws;
  // true when that was an equaliser band (the curves are to follow).
  bool StartDrag(int32_t x, int32_t y, HWND window, HDC backBuffer, const Bitmap& background);
  bool DragTo(int32_t x, int32_t y, HWND window, HDC backBuffer, const Bitmap& background);
  // The drag ends at `now`, as a release ends it: the value is held for a while. The caller gives
  // the capture back.
  void EndDrag(uint32_t now);

 private:
  struct Design {
    SkinRect rect;
    bool vertical = false;
    int32_t source = 0;  // SliderSource
    std::string track, knob, fill;
  };
  static Design DesignOf(const SkinRecord& record, const SkinHeader& window);

  int32_t ValueAt(int32_t x, int32_t y) const;
  // Sets and writes the value; true when an equaliser band was written.
  bool Set(int32_t value);
  // Draws into the back buffer; gives the rectangle drawn over (the element's, and the knob where
  // it stands out of it).
  RECT Draw(HDC backBuffer, const Bitmap& background) const;
  void Redraw(HWND window, HDC backBuffer, const Bitmap& background) const;

  const Design design_;
  Bitmap track_, knob_, fill_;
  int32_t value_ = -1;  // 0..100; -1 until first read
  SliderTimes times_;
};

}  // namespace ox
