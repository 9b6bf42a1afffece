#include "queuer/QueuerWindow.h"

#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "base/DataFile.h"
#include "base/TaskQueue.h"
#include "base/Wide.h"
#include "core/Locations.h"
#include "core/NamedObjects.h"
#include "queue/PlayerCommands.h"
#include "queue/PlaylistText.h"
#include "queue/QueueEdit.h"
#include "queue/QueueEditFile.h"
#include "queue/TrackRows.h"
#include "base/Path.h"
#include "queuer/TrackSources.h"
#include "ui/FileDialog.h"
#include "ui/ShellCalls.h"
#include "ui/SiblingWindow.h"
#include "ui/Window.h"

namespace ox {

namespace {

constexpr char kPlaceName[] = "Queuer";
constexpr int kProgramIcon = 101;
constexpr UINT kLoadedMessage = WM_APP + 1;  // lParam: a Snapshot* to take
constexpr UINT kEditedMessage = WM_APP + 2;  // wParam: an EditResult; lParam: tracks left out of an addition
constexpr UINT_PTR kPollTimer = 1;
constexpr UINT kPollMs = 250;
constexpr int kListId = 100, kFilterId = 101, kStatusId = 102;

enum Command : int {
  kPlayNow = kQueuerPlayNowCommand,
  kRemove,
  kMoveUp,
  kMoveDown,
  kClear,
  kAddFiles,
  kAddFolder,
  kLoadPlaylist,
  kSavePlaylist,
  kFind,
  kExit,
};

const ListColumn kColumns[] = {{"Title", 240}, {"Artist", 160}, {"Album", 150}, {"Length", 64, true}};
constexpr int kColumnCount = 4;

enum class Section : uint8_t { Playing, Priority, Queue };

// The state of the files as one load found it.
struct Snapshot {
  uint32_t counter = 0;  // the change counter, read before the files
  TrackRecord playing{};
  std::vector<QueueRecord> priority, queue;
  FileRead priorityRead, queueRead;
};

struct Row {
  Section section;
  uint32_t index;  // in its section's records
};

// The paths of a command line, one a line, as a second start hands them over.
std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  for (size_t at = 0; at < text.size();) {
    const size_t end = std::min(text.find('\n', at), text.size());
    if (end > at) lines.push_back(text.substr(at, end - at));
    at = end + 1;
  }
  return lines;
}

// The command line's arguments (after the program's path), one a line.
std::string ArgumentLines() {
  std::string lines;
  for (const std::string& argument : CommandLineArguments()) lines += argument + "\n";
  return lines;
}

// What identifies a row across a reload: its section and path.
char SectionMark(Section section) { return static_cast<char>('0' + static_cast<int>(section)); }
std::string RowKey(Section section, const TrackRecord& record) {
  return SectionMark(section) + std::string(record.Path());
}

class QueuerWindow {
 public:
  bool Create(int show);

 private:
  friend LRESULT CALLBACK RoutedProcedure<QueuerWindow>(HWND, UINT, WPARAM, LPARAM);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void CreateControls();
  void ApplyDpi(UINT dpi);
  void Layout();
  void CreateMenus();

  void Poll();
  void TakeSnapshot(std::unique_ptr<Snapshot> snapshot);
  // Where the user was in the list, found again after a reload by section and path: the player
  // may have taken rows from the head meanwhile, moving every other row up.
  struct Place {
    std::unordered_set<std::string> selected;
    std::string focus, top;
  };
  Place KeepPlace() const;
  void RebuildRows(const Place& place);
  void ShowStatus();
  const TrackRecord& RecordOf(const Row& row) const;
  std::vector<int> SelectedRows() const;

  LRESULT Notify(NMHDR* header, LPARAM lParam);
  void OnCommand(int id);
  void ShowContextMenu(LPARAM lParam);
  // Which rows of a section's records are selected.
  std::vector<bool> Marked(Section section) const;
  void PlaySelected();
  void RemoveSelected();
  void MoveSelected(int step);
  void MoveSelectedBefore(int target);
  void EditSection(Section section, std::vector<int64_t> order, std::vector<TrackRecord> added = {});
  void AddPaths(std::vector<std::string> paths);
  void AddFiles();
  void AddFolder();
  void LoadPlaylist();
  void SavePlaylist();
  void EndDrag(POINT at);

  Window window_;
  HWND hwnd_ = nullptr;  // window_'s handle, known from WM_NCCREATE on
  HWND list_ = nullptr, filter_ = nullptr, status_ = nullptr;
  HACCEL accelerators_ = nullptr;
  UINT dpi_ = 96;
  std::unique_ptr<MessageFont> font_;
  std::shared_ptr<const Snapshot> shown_ = std::make_shared<Snapshot>();
  std::vector<Row> rows_;
  std::string filterText_;
  std::string note_;  // the outcome of the last edit, shown in the status line until the next one
  bool loading_ = false, loadedOnce_ = false, dragging_ = false;
  TaskQueue tasks_;  // loads and edits: they may wait for a file the player holds

  friend int ox::RunQueuer(int show);
};

bool QueuerWindow::Create(int show) {
  WindowClass windowClass{kQueuerWindowClass, RoutedProcedure<QueuerWindow>};
  windowClass.background = BackgroundBrush();
  windowClass.icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kProgramIcon));
  windowClass.unicode = true;
  // Files dropped from Explorer are taken through the style rather than a call into the shell.
  if (!window_.Create(windowClass, "Orlavox Playlist", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                      WS_EX_CONTROLPARENT | WS_EX_ACCEPTFILES, CW_USEDEFAULT, CW_USEDEFAULT, 640, 420, nullptr, this))
    return false;
  RestoreWindowPlace(hwnd_, kPlaceName, 680, 460, show);
  SetTimer(hwnd_, kPollTimer, kPollMs, nullptr);
  Poll();
  SetFocus(list_);
  return true;
}

LRESULT QueuerWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  HWND window = hwnd_;
  switch (message) {
    case WM_SIZE:
      Layout();
      return 0;
    case WM_DPICHANGED:
      TakeSuggestedRect(window, lParam);
      ApplyDpi(HIWORD(wParam));
      return 0;
    case WM_TIMER:
      if (wParam == kPollTimer) Poll();
      return 0;
    case kLoadedMessage:
      TakeSnapshot(std::unique_ptr<Snapshot>(reinterpret_cast<Snapshot*>(lParam)));
      return 0;
    case kEditedMessage:
      switch (static_cast<EditResult>(wParam)) {
        case EditResult::Done: note_.clear(); break;
        case EditResult::Changed: note_ = "The queue changed meanwhile: nothing was edited."; break;
        case EditResult::Unreadable: note_ = "The queue file could not be read whole: it was left as it was."; break;
        case EditResult::Failed: note_ = "The queue file could not be written."; break;
      }
      if (lParam > 0)
        note_ += std::string(note_.empty() ? "" : " ") + std::to_string(lParam) +
                 (lParam == 1 ? " item was" : " items were") +
                 " left out: no codec plays it, its path is too long, or a playlist line could not be read.";
      ShowStatus();
      Poll();
      return 0;
    case WM_NOTIFY:
      return Notify(reinterpret_cast<NMHDR*>(lParam), lParam);
    case WM_COMMAND:
      if (LOWORD(wParam) == kFilterId && HIWORD(wParam) == EN_CHANGE) {
        wchar_t text[256] = {};
        GetWindowTextW(filter_, text, 256);
        filterText_ = FromWide(text);
        RebuildRows(KeepPlace());
        return 0;
      }
      OnCommand(LOWORD(wParam));
      return 0;
    case WM_CONTEXTMENU:
      if (reinterpret_cast<HWND>(wParam) == list_) ShowContextMenu(lParam);
      return 0;
    case WM_MOUSEMOVE:
      if (dragging_) SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32645))  /* IDC_SIZENS */);
      return 0;
    case WM_LBUTTONUP:
      if (dragging_) EndDrag(POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
      return 0;
    case WM_CAPTURECHANGED:
      dragging_ = false;
      return 0;
    case WM_DROPFILES: {
      AddPaths(DroppedPaths(reinterpret_cast<HDROP>(wParam)));
      return 0;
    }
    case WM_COPYDATA: {
      std::string text;
      if (!ReadHandOver(lParam, &text)) break;
      if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
      SetForegroundWindow(window);
      AddPaths(SplitLines(text));  // what a second start was given: files to queue
      return TRUE;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
      return ThemedControlColour(message, wParam);
    case WM_CLOSE:
      SaveWindowPlace(window, kPlaceName);
      DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      KillTimer(window, kPollTimer);
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

void QueuerWindow::CreateControls() {
  HWND window = hwnd_;
  dpi_ = WindowDpi(window);
  filter_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, 0, 0,
                            0, 0, window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFilterId)),
                            GetModuleHandleW(nullptr), nullptr);
  SendMessageW(filter_, EM_SETCUEBANNER, TRUE, reinterpret_cast<LPARAM>(L"Find (Ctrl+F)"));
  list_ = CreateOwnerDataList(window, kListId, kColumns, kColumnCount, dpi_);
  status_ = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_LEFT | SS_ENDELLIPSIS | SS_NOPREFIX, 0, 0, 0,
                            0, window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kStatusId)),
                            GetModuleHandleW(nullptr), nullptr);
  CreateMenus();
  UseDarkTitleBar(window);
  ApplyDpi(dpi_);
}

void QueuerWindow::CreateMenus() {
  HMENU file = CreatePopupMenu(), edit = CreatePopupMenu(), bar = CreateMenu();
  AppendMenuW(file, MF_STRING, kAddFiles, L"&Add Files...\tCtrl+O");
  AppendMenuW(file, MF_STRING, kAddFolder, L"Add &Folder...\tCtrl+Shift+O");
  AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(file, MF_STRING, kLoadPlaylist, L"&Load Playlist...\tCtrl+L");
  AppendMenuW(file, MF_STRING, kSavePlaylist, L"&Save Playlist As...\tCtrl+S");
  AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(file, MF_STRING, kExit, L"E&xit\tAlt+F4");
  AppendMenuW(edit, MF_STRING, kPlayNow, L"&Play Now\tEnter");
  AppendMenuW(edit, MF_STRING, kRemove, L"&Remove\tDel");
  AppendMenuW(edit, MF_STRING, kMoveUp, L"Move &Up\tCtrl+Up");
  AppendMenuW(edit, MF_STRING, kMoveDown, L"Move &Down\tCtrl+Down");
  AppendMenuW(edit, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(edit, MF_STRING, kClear, L"&Clear Queue");
  AppendMenuW(edit, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(edit, MF_STRING, kFind, L"&Find\tCtrl+F");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"&File");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(edit), L"&Edit");
  SetMenu(hwnd_, bar);
  ACCEL keys[] = {
      {FVIRTKEY | FCONTROL, 'O', kAddFiles},       {FVIRTKEY | FCONTROL | FSHIFT, 'O', kAddFolder},
      {FVIRTKEY | FCONTROL, 'L', kLoadPlaylist},   {FVIRTKEY | FCONTROL, 'S', kSavePlaylist},
      {FVIRTKEY | FCONTROL, 'F', kFind},           {FVIRTKEY | FCONTROL, VK_UP, kMoveUp},
      {FVIRTKEY | FCONTROL, VK_DOWN, kMoveDown},
  };
  accelerators_ = CreateAcceleratorTableW(keys, static_cast<int>(sizeof keys / sizeof keys[0]));
}

void QueuerWindow::ApplyDpi(UINT dpi) {
  dpi_ = dpi;
  auto font = std::make_unique<MessageFont>(dpi_);
  SetFontOnChildren(hwnd_, font->Handle());
  font_ = std::move(font);  // the old font goes once no control uses it
  ScaleListColumns(list_, kColumns, kColumnCount, dpi_);
  Layout();
}

void QueuerWindow::Layout() {
  if (!list_ || !font_) return;
  RECT client;
  GetClientRect(hwnd_, &client);
  const int margin = ScaleToDpi(6, dpi_), line = font_->LineHeight();
  const int width = client.right - 2 * margin, filterHeight = line + ScaleToDpi(8, dpi_);
  const int statusHeight = line + ScaleToDpi(4, dpi_);
  MoveWindow(filter_, margin, margin, std::min(width, ScaleToDpi(320, dpi_)), filterHeight, TRUE);
  const int listTop = 2 * margin + filterHeight, statusTop = client.bottom - margin - statusHeight;
  MoveWindow(list_, margin, listTop, width, std::max(0, statusTop - margin - listTop), TRUE);
  MoveWindow(status_, margin, statusTop, width, statusHeight, TRUE);
}

void QueuerWindow::Poll() {
  uint32_t counter = 0;
  block::OxPlayListChanged.ReadValue(counter);
  if (loading_ || (loadedOnce_ && counter == shown_->counter)) return;
  loading_ = true;
  HWND window = hwnd_;
  tasks_.Post([window] {
    auto snapshot = std::make_unique<Snapshot>();
    block::OxPlayListChanged.ReadValue(snapshot->counter);
    block::OxTrackPlaying.ReadValue(snapshot->playing);
    snapshot->priorityRead = ReadQueueRecords(PriorityQueueFile(), snapshot->priority);
    snapshot->queueRead = ReadQueueRecords(QueueFile(), snapshot->queue);
    if (PostMessageW(window, kLoadedMessage, 0, reinterpret_cast<LPARAM>(snapshot.get()))) snapshot.release();
  });
}

const TrackRecord& QueuerWindow::RecordOf(const Row& row) const {
  switch (row.section) {
    case Section::Playing: return shown_->playing;
    case Section::Priority: return shown_->priority[row.index].track;
    default: return shown_->queue[row.index].track;
  }
}

std::vector<int> QueuerWindow::SelectedRows() const {
  std::vector<int> rows = SelectedListRows(list_);
  // Rows past the end belong to a list the window has not shown yet.
  while (!rows.empty() && rows.back() >= static_cast<int>(rows_.size())) rows.pop_back();
  return rows;
}

void QueuerWindow::TakeSnapshot(std::unique_ptr<Snapshot> snapshot) {
  loading_ = false;
  loadedOnce_ = true;
  const Place place = KeepPlace();
  shown_ = std::move(snapshot);
  RebuildRows(place);
}

QueuerWindow::Place QueuerWindow::KeepPlace() const {
  Place place;
  const auto key = [&](int row) {
    return row >= 0 && row < static_cast<int>(rows_.size())
               ? RowKey(rows_[static_cast<size_t>(row)].section, RecordOf(rows_[static_cast<size_t>(row)]))
               : std::string();
  };
  for (int row : SelectedRows()) place.selected.insert(key(row));
  place.focus = key(static_cast<int>(SendMessageW(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED)));
  place.top = key(static_cast<int>(SendMessageW(list_, LVM_GETTOPINDEX, 0, 0)));
  return place;
}

void QueuerWindow::RebuildRows(const Place& place) {
  rows_.clear();
  const auto add = [&](Section section, uint32_t index) {
    const Row row{section, index};
    if (RowMatches(RecordOf(row), filterText_)) rows_.push_back(row);
  };
  if (shown_->playing.HasPath()) add(Section::Playing, 0);
  for (uint32_t i = 0; i < shown_->priority.size(); ++i) add(Section::Priority, i);
  for (uint32_t i = 0; i < shown_->queue.size(); ++i) add(Section::Queue, i);

  SendMessageW(list_, LVM_SETITEMCOUNT, rows_.size(), LVSICF_NOSCROLL);
  LVITEMW clear{};
  clear.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageW(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&clear));
  int newTop = -1;
  bool focusFound = place.focus.empty();
  // A row's key is made only to look it up among the selected: a reload of 100,000 rows with no
  // selection compares paths in place.
  const auto hasKey = [&](const Row& row, const std::string& key) {
    const std::string_view path = RecordOf(row).Path();
    return key.size() == path.size() + 1 && key[0] == SectionMark(row.section) &&
           key.compare(1, std::string::npos, path.data(), path.size()) == 0;
  };
  for (size_t i = 0; i < rows_.size() && (!place.selected.empty() || !focusFound || (newTop < 0 && !place.top.empty()));
       ++i) {
    UINT state = 0;
    if (!place.selected.empty() && place.selected.count(RowKey(rows_[i].section, RecordOf(rows_[i]))))
      state |= LVIS_SELECTED;
    if (!focusFound && hasKey(rows_[i], place.focus)) {
      state |= LVIS_FOCUSED;
      focusFound = true;  // the first of equal rows only
    }
    if (newTop < 0 && !place.top.empty() && hasKey(rows_[i], place.top)) newTop = static_cast<int>(i);
    if (!state) continue;
    LVITEMW item{};
    item.stateMask = state;
    item.state = state;
    SendMessageW(list_, LVM_SETITEMSTATE, i, reinterpret_cast<LPARAM>(&item));
  }
  const int nowTop = static_cast<int>(SendMessageW(list_, LVM_GETTOPINDEX, 0, 0));
  if (newTop >= 0 && newTop != nowTop && !rows_.empty()) {
    RECT item{LVIR_BOUNDS};
    SendMessageW(list_, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item));
    SendMessageW(list_, LVM_SCROLL, 0, (newTop - nowTop) * (item.bottom - item.top));
  }
  InvalidateRect(list_, nullptr, FALSE);
  ShowStatus();
}

void QueuerWindow::ShowStatus() {
  uint64_t total = 0, unknown = 0, tracks = 0;
  for (const Row& row : rows_) {
    if (row.section == Section::Playing) continue;
    const uint32_t ms = RecordOf(row).lengthMs;
    total += ms;
    unknown += ms == 0;
    ++tracks;
  }
  std::string text = TotalText(tracks, total, unknown) + " queued";
  if (!shown_->priority.empty()) text += ", " + std::to_string(shown_->priority.size()) + " of them first";
  if (!filterText_.empty()) text += " (matching \"" + filterText_ + "\")";
  const auto stray = [&](const FileRead& read, const char* name) {
    if (!read.read) text += std::string(" \xE2\x80\x94 the ") + name + " could not be read";
    else if (read.strayBytes)
      text += std::string(" \xE2\x80\x94 skipped ") + std::to_string(read.strayBytes) + " stray bytes at the end of the " +
              name + " (it is not edited until they go)";
  };
  stray(shown_->priorityRead, "priority queue");
  stray(shown_->queueRead, "queue");
  if (!note_.empty()) text += " \xE2\x80\x94 " + note_;
  SetWindowTextW(status_, Wide(text).c_str());
}

LRESULT QueuerWindow::Notify(NMHDR* header, LPARAM lParam) {
  if (header->hwndFrom != list_) return 0;
  switch (header->code) {
    case LVN_GETDISPINFOW: {
      LVITEMW& item = reinterpret_cast<NMLVDISPINFOW*>(lParam)->item;
      if (!(item.mask & LVIF_TEXT) || item.iItem < 0 || item.iItem >= static_cast<int>(rows_.size())) return 0;
      const Row& row = rows_[static_cast<size_t>(item.iItem)];
      const TrackRecord& record = RecordOf(row);
      switch (item.iSubItem) {
        case 0: FillDisplayText(item, (row.section == Section::Playing ? "\xE2\x96\xB6 " : "") + RowTitle(record)); break;
        case 1: FillDisplayText(item, record.Artist()); break;
        case 2: FillDisplayText(item, record.Album()); break;
        default: FillDisplayText(item, LengthText(record.lengthMs)); break;
      }
      return 0;
    }
    case LVN_GETINFOTIPW: {
      auto* tip = reinterpret_cast<NMLVGETINFOTIPW*>(lParam);
      if (tip->iItem < 0 || tip->iItem >= static_cast<int>(rows_.size())) return 0;
      LVITEMW item{};
      item.pszText = tip->pszText;
      item.cchTextMax = tip->cchTextMax;
      FillDisplayText(item, FolderOf(RecordOf(rows_[static_cast<size_t>(tip->iItem)]).Path()));
      return 0;
    }
    case NM_CUSTOMDRAW:
      return ListCustomDraw(lParam, !rows_.empty() && rows_[0].section == Section::Playing ? 0 : -1);
    case NM_DBLCLK:
    case NM_RETURN:
      PlaySelected();
      return 0;
    case LVN_KEYDOWN: {
      const WORD key = reinterpret_cast<NMLVKEYDOWN*>(lParam)->wVKey;
      if (key == VK_DELETE) RemoveSelected();
      return 0;
    }
    case LVN_BEGINDRAG:
      dragging_ = true;
      SetCapture(hwnd_);
      return 0;
    default:
      return 0;
  }
}

void QueuerWindow::OnCommand(int id) {
  switch (id) {
    case IDOK:  // Enter, which the dialog keys hand to the window
      if (GetFocus() == filter_) SetFocus(list_);
      else PlaySelected();
      break;
    case IDCANCEL:  // Escape empties the filter
      SetWindowTextW(filter_, L"");
      break;
    case kPlayNow: PlaySelected(); break;
    case kRemove: RemoveSelected(); break;
    case kMoveUp: MoveSelected(-1); break;
    case kMoveDown: MoveSelected(1); break;
    case kClear: {
      const bool ask = !shown_->priority.empty() || !shown_->queue.empty();
      if (ask && MessageBoxW(hwnd_, L"Remove every track from the queue?", L"Orlavox Playlist",
                             MB_YESNO | MB_ICONQUESTION) != IDYES)
        break;
      tasks_.Post([] { ClearQueue(); });
      break;
    }
    case kAddFiles: AddFiles(); break;
    case kAddFolder: AddFolder(); break;
    case kLoadPlaylist: LoadPlaylist(); break;
    case kSavePlaylist: SavePlaylist(); break;
    case kFind:
      SetFocus(filter_);
      SendMessageW(filter_, EM_SETSEL, 0, -1);
      break;
    case kExit: PostMessageW(hwnd_, WM_CLOSE, 0, 0); break;
    default: break;
  }
}

void QueuerWindow::ShowContextMenu(LPARAM lParam) {
  const POINT at = ListMenuPoint(list_, lParam);
  HMENU menu = CreatePopupMenu();
  const UINT any = SelectedRows().empty() ? MF_GRAYED : 0;
  AppendMenuW(menu, MF_STRING | any, kPlayNow, L"&Play Now\tEnter");
  AppendMenuW(menu, MF_STRING | any, kRemove, L"&Remove\tDel");
  AppendMenuW(menu, MF_STRING | any, kMoveUp, L"Move &Up\tCtrl+Up");
  AppendMenuW(menu, MF_STRING | any, kMoveDown, L"Move &Down\tCtrl+Down");
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu, MF_STRING, kAddFiles, L"&Add Files...");
  AppendMenuW(menu, MF_STRING, kClear, L"&Clear Queue");
  TrackPopupMenu(menu, TPM_RIGHTBUTTON, at.x, at.y, 0, hwnd_, nullptr);
  DestroyMenu(menu);
}

std::vector<bool> QueuerWindow::Marked(Section section) const {
  std::vector<bool> marked(section == Section::Queue ? shown_->queue.size() : shown_->priority.size(), false);
  for (int index : SelectedRows()) {
    const Row& row = rows_[static_cast<size_t>(index)];
    if (row.section == section) marked[row.index] = true;
  }
  return marked;
}

void QueuerWindow::PlaySelected() {
  std::vector<TrackRecord> tracks;
  for (int index : SelectedRows()) tracks.push_back(RecordOf(rows_[static_cast<size_t>(index)]));
  if (tracks.empty()) return;
  RemoveSelected();  // a queued track played now leaves the queue: it would otherwise play twice
  tasks_.Post([tracks = std::move(tracks)] {
    for (const TrackRecord& track : tracks) PlayNow(track);
  });
}

void QueuerWindow::RemoveSelected() {
  for (Section section : {Section::Priority, Section::Queue}) {
    const std::vector<bool> marked = Marked(section);
    std::vector<int64_t> order = OrderWithout(marked);
    if (order.size() != marked.size()) EditSection(section, std::move(order));
  }
}

void QueuerWindow::MoveSelected(int step) {
  for (Section section : {Section::Priority, Section::Queue}) {
    const std::vector<bool> marked = Marked(section);
    if (std::find(marked.begin(), marked.end(), true) != marked.end()) EditSection(section, OrderStepped(marked, step));
  }
}

void QueuerWindow::MoveSelectedBefore(int target) {
  // Rows dropped on a row of the priority queue or the queue go before it, within that section;
  // dropped below the last row, to the end of the queue.
  Section section = Section::Queue;
  size_t before = shown_->queue.size();
  if (target >= 0 && target < static_cast<int>(rows_.size())) {
    const Row& row = rows_[static_cast<size_t>(target)];
    if (row.section == Section::Playing) return;
    section = row.section;
    before = row.index;
  }
  const std::vector<bool> marked = Marked(section);
  if (std::find(marked.begin(), marked.end(), true) != marked.end()) EditSection(section, OrderMovedBefore(marked, before));
}

void QueuerWindow::EndDrag(POINT at) {
  dragging_ = false;
  ReleaseCapture();
  MapWindowPoints(hwnd_, list_, &at, 1);
  LVHITTESTINFO hit{};
  hit.pt = at;
  const int target = static_cast<int>(SendMessageW(list_, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
  const std::vector<int> selected = SelectedRows();
  if (std::find(selected.begin(), selected.end(), target) != selected.end()) return;  // dropped on itself
  MoveSelectedBefore(target);
}

void QueuerWindow::EditSection(Section section, std::vector<int64_t> order, std::vector<TrackRecord> added) {
  HWND window = hwnd_;
  std::shared_ptr<const Snapshot> seen = shown_;
  tasks_.Post([window, seen, section, order = std::move(order), added = std::move(added)] {
    const bool queue = section == Section::Queue;
    const EditResult result =
        EditQueueFile(queue ? QueueFile() : PriorityQueueFile(), queue ? seen->queue : seen->priority, order, added);
    PostMessageW(window, kEditedMessage, static_cast<WPARAM>(result), 0);
  });
}

void QueuerWindow::AddPaths(std::vector<std::string> paths) {
  if (paths.empty()) return;
  HWND window = hwnd_;
  tasks_.Post([window, paths = std::move(paths)] {
    size_t skipped = 0;
    const std::vector<TrackRecord> tracks = TracksFromPaths(paths, &skipped);
    const EditResult result = AppendToQueueFile(QueueFile(), tracks);
    PostMessageW(window, kEditedMessage, static_cast<WPARAM>(result), static_cast<LPARAM>(skipped));
  });
}

void QueuerWindow::AddFiles() {
  FileDialogRequest request;
  request.owner = hwnd_;
  request.title = "Add to the Queue";
  request.folderSetting = &setting::LastAccessedFolder;
  request.flags = OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST;
  request.filters = MusicFileFilters();
  AddPaths(ShowFileDialog(request).paths);
}

void QueuerWindow::AddFolder() {
  const std::string folder = BrowseForFolder(hwnd_, "Add every music file of a folder and its subfolders to the queue");
  if (!folder.empty()) AddPaths({folder});
}

void QueuerWindow::LoadPlaylist() {
  FileDialogRequest request;
  request.owner = hwnd_;
  request.title = "Load a Playlist into the Queue";
  request.folderSetting = &setting::LastPlaylistFolder;
  request.flags = OFN_FILEMUSTEXIST;
  request.filters = {{"Playlists", "*.m3u8;*.m3u;*.pls"}};
  AddPaths(ShowFileDialog(request).paths);
}

void QueuerWindow::SavePlaylist() {
  FileDialogRequest request;
  request.save = true;
  request.owner = hwnd_;
  request.title = "Save the Queue as a Playlist";
  request.folderSetting = &setting::LastPlaylistFolder;
  request.flags = OFN_OVERWRITEPROMPT;
  request.filters = {{"M3U playlist, UTF-8 (*.m3u8)", "*.m3u8"}, {"M3U playlist (*.m3u)", "*.m3u"},
                     {"PLS playlist (*.pls)", "*.pls"}};
  request.defaultExtension = "m3u8";
  const std::vector<std::string> chosen = ShowFileDialog(request).paths;
  if (chosen.empty()) return;
  std::vector<PlaylistTrack> tracks;
  for (const Row& row : rows_) {
    if (row.section == Section::Playing) continue;
    const TrackRecord& r = RecordOf(row);
    std::string name = r.Artist().empty() ? RowTitle(r) : std::string(r.Artist()) + " - " + RowTitle(r);
    tracks.push_back({std::string(r.Path()), r.IsComplete() ? name : std::string(), r.lengthMs});
  }
  const std::string text = PlaylistFileText(chosen[0], tracks);
  DataFile file(chosen[0], FileAccess::Write, FileCreation::CreateAlways, true);
  if (file.IsOpen() && file.Write(text.data(), static_cast<uint32_t>(text.size())))
    note_ = "Saved " + std::to_string(tracks.size()) + " tracks to " + chosen[0] + ".";
  ShowStatus();
}

}  // namespace

int RunQueuer(int show) {
  // Files named on the command line are queued, by the window that runs already if there is one.
  const std::string arguments = ArgumentLines();
  SingleInstance instance(kQueuerWindowClass);
  if (instance.AnotherRuns()) {
    instance.HandOver(arguments);
    return 0;
  }
  auto queuer = std::make_unique<QueuerWindow>();
  if (!queuer->Create(show)) return 1;
  queuer->AddPaths(SplitLines(arguments));
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (TranslateAcceleratorW(queuer->hwnd_, queuer->accelerators_, &message)) continue;
    if (IsDialogMessageW(queuer->hwnd_, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  if (queuer->accelerators_) DestroyAcceleratorTable(queuer->accelerators_);
  queuer.reset();
  return 0;
}

}  // namespace ox
