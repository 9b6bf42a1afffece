#include "ui/PlayerInput.h"

#include <atomic>

#include "core/NamedObjects.h"
#include "queue/PlayerCommands.h"

namespace ox {

namespace {

std::atomic<KeyCheck> g_keyCheck{nullptr};

void AddToVolume(int32_t delta, bool allowed(uint32_t)) {
  uint32_t volume = 0;
  block::OxVolume.ReadValue(volume);
  if (!allowed(volume)) return;
  volume = static_cast<uint32_t>(static_cast<int32_t>(volume) + delta);
  block::OxVolume.WriteValue(volume);
}

}  // namespace

bool HandleAppCommand(LPARAM lParam) {
  switch ((static_cast<uint32_t>(lParam) >> 16) & 0x7FFF) {
    case APPCOMMAND_VOLUME_MUTE:
      evt::OxMute.Toggle();
      break;
    case APPCOMMAND_VOLUME_DOWN:
      AddToVolume(-5, [](uint32_t v) { return v > 4; });
      break;
    case APPCOMMAND_VOLUME_UP:
      AddToVolume(5, [](uint32_t v) { return v < 96; });
      break;
    case APPCOMMAND_MEDIA_NEXTTRACK:
      PlayButton();
      break;
    case APPCOMMAND_MEDIA_PREVIOUSTRACK:
      SkipBack();
      break;
    case APPCOMMAND_MEDIA_STOP:
      evt::OxPlay.Reset();
      break;
    case APPCOMMAND_MEDIA_PLAY_PAUSE:
      if (!evt::OxPlay.IsSet()) evt::OxPlay.Set();
      else evt::OxPause.Toggle();
      break;
    case APPCOMMAND_LAUNCH_MEDIA_SELECT:
      evt::ShowOpenMusic.Set();
      break;
  }
  return true;  // every media key is ours, the ones we do nothing with too
}

void SetKeyCheck(KeyCheck check) { g_keyCheck = check; }

bool CheckKeys(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const KeyCheck check = g_keyCheck;
  return check && check(window, message, wParam, lParam);
}

}  // namespace ox
