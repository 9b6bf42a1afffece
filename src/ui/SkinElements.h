// The elements of one skin window at run time, each kind in its own class (images, sliders, fonts
// and texts, equaliser curves, visualisation areas): this owns them in element order and hands
// them the window's paints, refreshes, ticks and mouse events, reading the shared blocks they show
// once for all of them.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "ui/Bitmap.h"
#include "ui/ControlMath.h"
#include "ui/Gdi.h"
#include "ui/SkinRecords.h"

namespace ox {

class EqCurveElement;
class FontElement;
class ImageElement;
class SliderElement;
class TextElement;
class VisualElement;

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
  // drag). Redraws and invalidates what it changes. A right press on a title asks for the track
  // menu, which the window opens (OpenTrackMenu) once it holds no lock: TakeTrackMenuRequest.
  bool Mouse(ElementMouse kind, int32_t x, int32_t y, HWND window, HDC backBuffer, const Bitmap& background);
  bool TakeTrackMenuRequest();
  // Ends every slider drag as a release would (each slider holds the value it was let go at), and
  // gives the capture back when the window holds it: for a window whose capture was taken away, or
  // that sees the mouse move without the left button.
  void EndDrags(HWND window);
  // The 25 ms animation tick: scrolling texts move, the time texts show the time.
  void Tick(HWND window, HDC backBuffer);
  // Whether anything moves at the pace of the ticks: a text scrolls, a slider is dragged, or a
  // visualisation area drew a frame in the last half second (bars and peaks falling count).
  // Otherwise slower ticks show the same. now: Ticks().
  bool Busy(uint32_t now) const;
  // The display modes of the visualisation areas by element name, to be remembered; and one set
  // back (before Initialise) from what was remembered.
  std::vector<std::pair<std::string, int32_t>> VisualModes() const;
  void SetVisualMode(std::string_view name, int32_t mode);

 private:
  void RedrawStaleCurves(HWND window, HDC backBuffer);

  // The elements that draw, in element order: a kind and the index in that kind's list.
  enum class Kind { Image, Slider, Text, EqCurve, Visualisation };
  struct Placed {
    Kind kind;
    size_t index;
  };

  std::string folder_;
  std::vector<Placed> order_;
  std::vector<std::unique_ptr<ImageElement>> images_;
  std::vector<std::unique_ptr<SliderElement>> sliders_;
  std::vector<std::unique_ptr<FontElement>> fonts_;
  std::vector<std::unique_ptr<TextElement>> texts_;
  std::vector<std::unique_ptr<EqCurveElement>> curves_;
  std::vector<std::unique_ptr<VisualElement>> visuals_;
  bool curvesStale_ = false;  // a band was written: the curves are to follow
  bool trackMenuAsked_ = false;
  Moment timesLooked_;        // the time texts' blocks were last read
};

// The track menu (sub-menu 0 of menu 104) at the cursor, for the window; returns when it closes.
void OpenTrackMenu(HWND window);

}  // namespace ox
