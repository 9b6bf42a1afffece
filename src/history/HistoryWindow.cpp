#include "history/HistoryWindow.h"

#include <commctrl.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "base/Path.h"
#include "base/TaskQueue.h"
#include "base/Wide.h"
#include "core/Locations.h"
#include "core/NamedObjects.h"
#include "queue/History.h"
#include "queue/PlayerCommands.h"
#include "queue/QueueEditFile.h"
#include "queue/TrackRows.h"
#include "ui/ShellCalls.h"
#include "ui/SiblingWindow.h"
#include "ui/Window.h"

namespace ox {

namespace {

constexpr char kPlaceName[] = "History";
constexpr int kProgramIcon = 101;
constexpr UINT kLoadedMessage = WM_APP + 1;  // lParam: a Snapshot* to take
constexpr UINT kEditedMessage = WM_APP + 2;  // wParam: an EditResult
constexpr UINT_PTR kPollTimer = 1;
constexpr UINT kPollMs = 250;
constexpr int kListId = 100, kStatusId = 102;

enum Command : int {
  kPlayNow = kHistoryPlayNowCommand,
  kAddToQueue,
  kOpenFolder,
  kCopyPath,
  kRemove,
  kClear,
  kExit,
};

const ListColumn kColumns[] = {{"Title", 240}, {"Artist", 160}, {"Album", 150}, {"Length", 64, true}};
constexpr int kColumnCount = 4;

struct Snapshot {
  uint32_t counter = 0;  // the change counter, read before the file
  std::vector<TrackRecord> records;
  FileRead read;
};

class HistoryWindow {
 public:
  bool Create(int show);
  HWND Handle() const { return hwnd_; }

 private:
  friend LRESULT CALLBACK RoutedProcedure<HistoryWindow>(HWND, UINT, WPARAM, LPARAM);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void CreateControls();
  void ApplyDpi(UINT dpi);
  void Layout();
  void Poll();
  void TakeSnapshot(std::unique_ptr<Snapshot> snapshot);
  void ShowStatus();
  std::vector<size_t> SelectedRows() const;
  LRESULT Notify(NMHDR* header, LPARAM lParam);
  void OnCommand(int id);
  void ShowContextMenu(LPARAM lParam);
  void CopyPath();
  void OpenFolder();

  Window window_;
  HWND hwnd_ = nullptr;  // window_'s handle, known from WM_NCCREATE on
  HWND list_ = nullptr, status_ = nullptr;
  UINT dpi_ = 96;
  std::unique_ptr<MessageFont> font_;
  std::shared_ptr<const Snapshot> shown_ = std::make_shared<Snapshot>();
  std::string note_;
  bool loading_ = false, loadedOnce_ = false;
  TaskQueue tasks_;  // loads and edits: they may wait for a file the player holds
};

bool HistoryWindow::Create(int show) {
  WindowClass windowClass{kHistoryWindowClass, RoutedProcedure<HistoryWindow>};
  windowClass.background = BackgroundBrush();
  windowClass.icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kProgramIcon));
  windowClass.unicode = true;
  if (!window_.Create(windowClass, "Orlavox Previously Played", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                      WS_EX_CONTROLPARENT, CW_USEDEFAULT, CW_USEDEFAULT, 640, 420, nullptr, this))
    return false;
  RestoreWindowPlace(hwnd_, kPlaceName, 640, 400, show);
  SetTimer(hwnd_, kPollTimer, kPollMs, nullptr);
  Poll();
  SetFocus(list_);
  return true;
}

LRESULT HistoryWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
      Layout();
      return 0;
    case WM_DPICHANGED:
      TakeSuggestedRect(hwnd_, lParam);
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
        case EditResult::Changed: note_ = "The history changed meanwhile: nothing was removed."; break;
        case EditResult::Unreadable: note_ = "The history file could not be read whole: it was left as it was."; break;
        case EditResult::Failed: note_ = "The file could not be written."; break;
      }
      ShowStatus();
      Poll();
      return 0;
    case WM_NOTIFY:
      return Notify(reinterpret_cast<NMHDR*>(lParam), lParam);
    case WM_COMMAND:
      OnCommand(LOWORD(wParam));
      return 0;
    case WM_CONTEXTMENU:
      if (reinterpret_cast<HWND>(wParam) == list_) ShowContextMenu(lParam);
      return 0;
    case WM_COPYDATA: {
      std::string text;
      if (!ReadHandOver(lParam, &text)) break;
      if (IsIconic(hwnd_)) ShowWindow(hwnd_, SW_RESTORE);
      SetForegroundWindow(hwnd_);
      return TRUE;
    }
    case WM_CTLCOLORSTATIC:
      return ThemedControlColour(message, wParam);
    case WM_CLOSE:
      SaveWindowPlace(hwnd_, kPlaceName);
      DestroyWindow(hwnd_);
      return 0;
    case WM_DESTROY:
      KillTimer(hwnd_, kPollTimer);
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

void HistoryWindow::CreateControls() {
  dpi_ = WindowDpi(hwnd_);
  list_ = CreateOwnerDataList(hwnd_, kListId, kColumns, kColumnCount, dpi_);
  status_ = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_LEFT | SS_ENDELLIPSIS | SS_NOPREFIX, 0, 0, 0,
                            0, hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kStatusId)),
                            GetModuleHandleW(nullptr), nullptr);
  HMENU file = CreatePopupMenu(), bar = CreateMenu();
  AppendMenuW(file, MF_STRING, kClear, L"&Clear History");
  AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(file, MF_STRING, kExit, L"E&xit\tAlt+F4");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"&File");
  SetMenu(hwnd_, bar);
  UseDarkTitleBar(hwnd_);
  ApplyDpi(dpi_);
}

void HistoryWindow::ApplyDpi(UINT dpi) {
  dpi_ = dpi;
  auto font = std::make_unique<MessageFont>(dpi_);
  SetFontOnChildren(hwnd_, font->Handle());
  font_ = std::move(font);  // the old font goes once no control uses it
  ScaleListColumns(list_, kColumns, kColumnCount, dpi_);
  Layout();
}

void HistoryWindow::Layout() {
  if (!list_ || !font_) return;
  RECT client;
  GetClientRect(hwnd_, &client);
  const int margin = ScaleToDpi(6, dpi_), statusHeight = font_->LineHeight() + ScaleToDpi(4, dpi_);
  const int width = client.right - 2 * margin, statusTop = client.bottom - margin - statusHeight;
  MoveWindow(list_, margin, margin, width, statusTop - 2 * margin > 0 ? statusTop - 2 * margin : 0, TRUE);
  MoveWindow(status_, margin, statusTop, width, statusHeight, TRUE);
}

void HistoryWindow::Poll() {
  uint32_t counter = 0;
  block::OxPlayListChanged.ReadValue(counter);
  if (loading_ || (loadedOnce_ && counter == shown_->counter)) return;
  loading_ = true;
  HWND window = hwnd_;
  tasks_.Post([window] {
    auto snapshot = std::make_unique<Snapshot>();
    block::OxPlayListChanged.ReadValue(snapshot->counter);
    snapshot->read = ReadHistoryRecords(snapshot->records);
    if (PostMessageW(window, kLoadedMessage, 0, reinterpret_cast<LPARAM>(snapshot.get()))) snapshot.release();
  });
}

std::vector<size_t> HistoryWindow::SelectedRows() const {
  std::vector<size_t> rows;
  for (int row : SelectedListRows(list_))
    if (static_cast<size_t>(row) < shown_->records.size()) rows.push_back(static_cast<size_t>(row));
  return rows;
}

void HistoryWindow::TakeSnapshot(std::unique_ptr<Snapshot> snapshot) {
  loading_ = false;
  loadedOnce_ = true;
  // A newly played track comes in at the top: the selection stays on the tracks it was on.
  const std::vector<TrackRecord>& before = shown_->records;
  std::vector<std::string> selected;
  for (size_t row : SelectedRows()) selected.emplace_back(before[row].Path());
  shown_ = std::move(snapshot);
  SendMessageW(list_, LVM_SETITEMCOUNT, shown_->records.size(), LVSICF_NOSCROLL);
  LVITEMW clear{};
  clear.stateMask = LVIS_SELECTED;
  SendMessageW(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&clear));
  for (const std::string& path : selected) {
    for (size_t i = 0; i < shown_->records.size(); ++i) {
      if (shown_->records[i].Path() != path) continue;
      LVITEMW item{};
      item.stateMask = item.state = LVIS_SELECTED;
      SendMessageW(list_, LVM_SETITEMSTATE, i, reinterpret_cast<LPARAM>(&item));
      break;
    }
  }
  InvalidateRect(list_, nullptr, FALSE);
  ShowStatus();
}

void HistoryWindow::ShowStatus() {
  std::string text = shown_->records.empty() ? std::string("Nothing played yet")
                                             : TotalText(shown_->records.size(), 0, 0) + " played, newest first";
  if (!shown_->read.read) text += " \xE2\x80\x94 the history file could not be read";
  else if (shown_->read.strayBytes)
    text += " \xE2\x80\x94 skipped " + std::to_string(shown_->read.strayBytes) +
            " bytes past the records shown (the file is not edited until they go)";
  if (!note_.empty()) text += " \xE2\x80\x94 " + note_;
  SetWindowTextW(status_, Wide(text).c_str());
}

LRESULT HistoryWindow::Notify(NMHDR* header, LPARAM lParam) {
  if (header->hwndFrom != list_) return 0;
  switch (header->code) {
    case LVN_GETDISPINFOW: {
      LVITEMW& item = reinterpret_cast<NMLVDISPINFOW*>(lParam)->item;
      if (!(item.mask & LVIF_TEXT) || item.iItem < 0 || static_cast<size_t>(item.iItem) >= shown_->records.size())
        return 0;
      const TrackRecord& record = shown_->records[static_cast<size_t>(item.iItem)];
      switch (item.iSubItem) {
        case 0: FillDisplayText(item, RowTitle(record)); break;
        case 1: FillDisplayText(item, record.Artist()); break;
        case 2: FillDisplayText(item, record.Album()); break;
        default: FillDisplayText(item, LengthText(record.lengthMs)); break;
      }
      return 0;
    }
    case LVN_GETINFOTIPW: {
      auto* tip = reinterpret_cast<NMLVGETINFOTIPW*>(lParam);
      if (tip->iItem < 0 || static_cast<size_t>(tip->iItem) >= shown_->records.size()) return 0;
      LVITEMW item{};
      item.pszText = tip->pszText;
      item.cchTextMax = tip->cchTextMax;
      FillDisplayText(item, FolderOf(shown_->records[static_cast<size_t>(tip->iItem)].Path()));
      return 0;
    }
    case NM_CUSTOMDRAW:
      return ListCustomDraw(lParam);
    case NM_DBLCLK:
      OnCommand(kPlayNow);
      return 0;
    case LVN_KEYDOWN:
      if (reinterpret_cast<NMLVKEYDOWN*>(lParam)->wVKey == VK_DELETE) OnCommand(kRemove);
      if (reinterpret_cast<NMLVKEYDOWN*>(lParam)->wVKey == 'C' && GetKeyState(VK_CONTROL) < 0) OnCommand(kCopyPath);
      return 0;
    default:
      return 0;
  }
}

void HistoryWindow::OnCommand(int id) {
  std::vector<TrackRecord> chosen;
  for (size_t row : SelectedRows()) chosen.push_back(shown_->records[row]);
  HWND window = hwnd_;
  switch (id) {
    case IDOK:  // Enter, which the dialog keys hand to the window
    case kPlayNow:
      if (!chosen.empty())
        tasks_.Post([chosen] {
          for (const TrackRecord& track : chosen) PlayNow(track);
        });
      break;
    case kAddToQueue:
      if (!chosen.empty())
        tasks_.Post([window, chosen] {
          PostMessageW(window, kEditedMessage, static_cast<WPARAM>(AppendToQueueFile(QueueFile(), chosen)), 0);
        });
      break;
    case kOpenFolder: OpenFolder(); break;
    case kCopyPath: CopyPath(); break;
    case kRemove: {
      std::vector<size_t> rows = SelectedRows();
      if (rows.empty()) break;
      std::shared_ptr<const Snapshot> seen = shown_;
      tasks_.Post([window, seen, rows] {
        PostMessageW(window, kEditedMessage, static_cast<WPARAM>(RemoveHistoryRows(seen->records, rows)), 0);
      });
      break;
    }
    case kClear:
      if (shown_->records.empty() || MessageBoxW(hwnd_, L"Forget every track played so far?", L"Orlavox Previously Played",
                                                 MB_YESNO | MB_ICONQUESTION) != IDYES)
        break;
      tasks_.Post([window] { PostMessageW(window, kEditedMessage, static_cast<WPARAM>(ClearHistory()), 0); });
      break;
    case kExit: PostMessageW(hwnd_, WM_CLOSE, 0, 0); break;
    default: break;
  }
}

void HistoryWindow::ShowContextMenu(LPARAM lParam) {
  const POINT at = ListMenuPoint(list_, lParam);
  const size_t selected = SelectedRows().size();
  const UINT any = selected ? 0 : MF_GRAYED, one = selected == 1 ? 0 : MF_GRAYED;
  HMENU menu = CreatePopupMenu();
  AppendMenuW(menu, MF_STRING | MF_DEFAULT | any, kPlayNow, L"&Play Now\tEnter");
  AppendMenuW(menu, MF_STRING | any, kAddToQueue, L"&Add to Queue");
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu, MF_STRING | one, kOpenFolder, L"&Open Containing Folder");
  AppendMenuW(menu, MF_STRING | any, kCopyPath, L"&Copy Path\tCtrl+C");
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu, MF_STRING | any, kRemove, L"&Remove from History\tDel");
  AppendMenuW(menu, MF_STRING, kClear, L"C&lear History");
  TrackPopupMenu(menu, TPM_RIGHTBUTTON, at.x, at.y, 0, hwnd_, nullptr);
  DestroyMenu(menu);
}

void HistoryWindow::CopyPath() {
  std::string text;
  for (size_t row : SelectedRows()) text += std::string(shown_->records[row].Path()) + "\r\n";
  if (text.empty() || !OpenClipboard(hwnd_)) return;
  text.resize(text.size() - 2);  // no line end after the last
  const std::wstring wide = Wide(text);
  EmptyClipboard();
  if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (wide.size() + 1) * sizeof(wchar_t))) {
    std::memcpy(GlobalLock(memory), wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(memory);
    if (!SetClipboardData(CF_UNICODETEXT, memory)) GlobalFree(memory);  // the clipboard owns it once set
  }
  CloseClipboard();
}

void HistoryWindow::OpenFolder() {
  const std::vector<size_t> rows = SelectedRows();
  if (rows.size() != 1) return;
  ShowInFolder(hwnd_, std::string(shown_->records[rows[0]].Path()));
}

}  // namespace

int RunHistory(int show) {
  SingleInstance instance(kHistoryWindowClass);
  if (instance.AnotherRuns()) {
    instance.HandOver("");
    return 0;
  }
  auto history = std::make_unique<HistoryWindow>();
  if (!history->Create(show)) return 1;
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (IsDialogMessageW(history->Handle(), &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  history.reset();
  return 0;
}

}  // namespace ox
