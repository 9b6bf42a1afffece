// The elements of one skin window at run time: their bitmaps, what they show now, and how they draw
// into the window's back buffer and answer the mouse. Images show by the playing track's channel
// count; sliders follow and set the shared values they are bound to.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "ui/Bitmap.h"
#include "ui/Gdi.h"
#include "ui/ControlMath.h"
#include "ui/SkinRecords.h"
#include "ui/VisualAreaMath.h"
#include "VisualOutputPlugin.h"

namespace ox {

// Mouse events as elements see them.
enum class ElementMouse { LeftDown = 0, Up = 1, RightDown = 2, Move = 4 };

class SkinElements {
 public:
  // folder: the skin folder; window: the window's own record header.
  SkinElements(std::string folder, const SkinHeader& window, const std::vector<SkinRecord>& records);
  ~SkinElements();
  SkinElements(const SkinElements&) = delete;
  SkinElements& operator=(const SkinElements&) = delete;

  // Loads what the elements draw with; Release frees it.
  void Initialise();
  void Release();

  // Draws every element into the back buffer, in element order, over the background.
  void Paint(HDC backBuffer, const Bitmap& background);
  // The 30 ms refresh: sliders re-read their values; what changed is redrawn and invalidated.
  void Refresh(HWND window, HDC backBuffer, const Bitmap& background);
  // A mouse event at x, y of the window; true when an element took it (the window then does not
  // drag). Redraws and invalidates what it changes.
  bool Mouse(ElementMouse kind, int32_t x, int32_t y, HWND window, HDC backBuffer, const Bitmap& background);
  // The 25 ms animation tick: scrolling texts move, the time texts show the time.
  void Tick(HWND window, HDC backBuffer);
  // Whether anything moves at the pace of the ticks: a text scrolls, a slider is dragged, or a
  // visualisation area drew a frame in the last half second (bars and peaks falling count).
  // Otherwise slower ticks show the same.
  bool Busy(uint32_t now) const;
  // The display modes of the visualisation areas by element name, to be remembered; and one set
  // back (before Initialise) from what was remembered.
  std::vector<std::pair<std::string, int32_t>> VisualModes() const;
  void SetVisualMode(std::string_view name, int32_t mode);

  struct Element;

 private:
  // Draws a slider into the back buffer; gives the rectangle it drew over (the element's, and the
  // knob where it stands out of it).
  RECT Draw(Element& e, HDC backBuffer, const Bitmap& background) const;
  void Redraw(Element& e, HWND window, HDC backBuffer, const Bitmap& background) const;
  void SetSlider(Element& e, int32_t value);
  void RenderText(Element& e, HWND window, HDC backBuffer) const;
  void RenderCurve(Element& e, HWND window, HDC backBuffer, const EqPositions& positions) const;
  void RenderCurves(HWND window, HDC backBuffer, const EqPositions& positions);
  void InitialiseVisual(Element& e) const;
  void RenderVisual(Element& e, HWND window, HDC backBuffer, const OxVisualSnapshot& snapshot) const;

  std::string folder_;
  SkinHeader window_;
  void RedrawStaleCurves(HWND window, HDC backBuffer);

  std::vector<std::unique_ptr<Element>> elements_;
  bool curvesStale_ = false;  // a band was written: the curves are to follow
  bool timesLooked_ = false;   // the time texts' blocks were read, at timesLookedAt_
  uint32_t timesLookedAt_ = 0;
};

}  // namespace ox
