// A visualisation area: the last rendered visual snapshot of one channel as spectrum bars, an
// oscilloscope or a level meter, over what lies under the area. A left press switches between bars
// and oscilloscope; the mode is remembered by the window under the element's name.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "VisualOutputPlugin.h"
#include "ui/Bitmap.h"
#include "ui/ControlMath.h"
#include "ui/SkinGeometry.h"
#include "ui/SkinRecords.h"
#include "ui/VisualAreaMath.h"

namespace ox {

class VisualElement {
 public:
  VisualElement(const SkinRecord& record, const SkinHeader& window);
  VisualElement(const VisualElement&) = delete;
  VisualElement& operator=(const VisualElement&) = delete;

  std::string_view Name() const { return design_.name; }
  // The mode shown (VisualMode), once set or initialised; -1 before.
  int32_t Mode() const { return mode_; }
  // A remembered mode, before Initialise; anything but a mode is ignored.
  void SetMode(int32_t mode);
  bool Hits(int32_t x, int32_t y) const { return ox::Hits(design_.rect, x, y); }
  // A left press: bars become the oscilloscope and back; the meter stays.
  void Toggle();

  // Makes the pictures drawn from (the bars' colours, the oscilloscope's gradient).
  void Initialise();
  void Release();

  // The full repaint: takes what lies under it as its background and draws the snapshot.
  void Paint(HDC backBuffer, const OxVisualSnapshot& snapshot, uint32_t now);
  // A frame (every refresh): levels and peaks move on; drawn and invalidated when it would look
  // different from the last one drawn.
  void Render(HWND window, HDC backBuffer, const OxVisualSnapshot& snapshot, uint32_t now);
  // Whether it drew something new in the last half second (bars and peaks may still be falling).
  bool Busy(uint32_t now) const { return Within(drawn_, now, 500); }

 private:
  struct Design {
    std::string name;
    SkinRect rect;
    int channel = 0;  // 0 or 1
    int32_t mode = 0;  // VisualMode, when none is remembered
    int32_t barCount = 1;
    BarLook bars, meter;
    uint32_t scopeLine = 0;
    bool scopeGradient = false;
    uint32_t scopeTop = 0, scopeMiddle = 0, scopeBottom = 0;
  };
  static Design DesignOf(const SkinRecord& record, const SkinHeader& window);
  void DrawBars(HDC dc);
  void DrawScope(HDC dc, const int8_t* wave);

  const Design design_;
  int32_t mode_ = -1;
  std::vector<int32_t> levels_;
  std::vector<BarPeak> peaks_;
  int32_t meter_ = 0;
  BarPeak meterPeak_;
  // What lies under the area; where a frame is composed; the bars' and the meter's colours along
  // their length; the oscilloscope's gradient and its work pictures.
  Bitmap saved_, composition_, bars_, meterBar_, scope_, scopeMask_, scopeLine_;
  // What lies under the area with every bar drawn at full length, made when first needed after
  // that background was taken: each frame copies a bar's extent from it in one piece.
  Bitmap fullBars_;
  bool fullBarsStale_ = true;
  // What the area showed last: a frame that would look the same is not drawn again.
  std::vector<int32_t> shownLevels_, shownPeaks_;
  int32_t shownMode_ = -1;
  int8_t shownWave_[OX_VIS_FRAMES] = {};
  Moment drawn_;  // the last frame that drew something new
};

}  // namespace ox
