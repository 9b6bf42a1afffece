// The collection editor's window: the library view (find box, group tree, the list of tracks)
// and the selective-play view (artists, genres, preference range), with a progress bar and
// Cancel for the scan that runs on the worker thread.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "core/SharedRecords.h"
#include "librarian/LibrarianRules.h"
#include "librarian/Library.h"
#include "queue/CollectionRules.h"
#include "ui/SiblingWindow.h"

namespace ox {

constexpr const char* kLibrarianClass = "Orlavox Librarian";

class LibrarianWindow {
 public:
  bool Create(bool selective, int show);
  HWND Handle() const { return window_; }
  // The message loop's accelerators.
  bool TranslateKeys(MSG& message);

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void MakeControls();
  void SetFonts();
  void Place();
  void ShowView(bool selective);
  void OpenCollection(const std::string& path);
  void RefreshList(bool keepScroll);
  void RefreshGroups();
  void RefreshStatus();
  void FillSelective();
  void UpdateSelectionCount();
  Selection CurrentSelection() const;
  void Command(int id);
  void Tick();
  void StartJob(ScanJob::Kind kind, std::vector<std::string> inputs);
  void ContextMenu(int x, int y);
  std::vector<uint32_t> SelectedRecords() const;
  void Tell(const std::string& text) const;

  HWND window_ = nullptr;
  HWND filterLabel_ = nullptr, filter_ = nullptr, group_ = nullptr, tree_ = nullptr, list_ = nullptr;
  HWND artistsLabel_ = nullptr, genresLabel_ = nullptr, artists_ = nullptr, genres_ = nullptr, minLabel_ = nullptr,
       minPreference_ = nullptr;
  HWND maxLabel_ = nullptr, maxPreference_ = nullptr, count_ = nullptr, apply_ = nullptr, clear_ = nullptr;
  HWND status_ = nullptr, progress_ = nullptr, cancel_ = nullptr;
  std::unique_ptr<MessageFont> font_;
  HACCEL keys_ = nullptr;
  UINT dpi_ = 96;
  bool selective_ = false;
  Library library_;
  std::vector<std::pair<std::string, uint32_t>> groups_;  // the tree's entries, in its order
  LiveUpdate lastUpdate_{};
  std::string message_;
};

}  // namespace ox
