#include "librarian/LibrarianWindow.h"

#include <windows.h>

#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>
#include <cstring>

#include "base/DataFile.h"
#include "base/Path.h"
#include "base/Wide.h"
#include "core/Locations.h"
#include "core/NamedObjects.h"
#include "core/Settings.h"
#include "engine/CodecHost.h"
#include "queue/CollectionRules.h"
#include "queue/CollectionStore.h"
#include "queue/PlayerCommands.h"
#include "ui/FileDialog.h"
#include "ui/ShellCalls.h"

namespace ox {

namespace {

enum : int {
  kFilter = kFilterBox,
  kGroup = kGroupBox,
  kTree = kGroupTree,
  kList = kTrackList,
  kArtists = kArtistList,
  kGenres = kGenreList,
  kMinPreference = kMinPreferenceBox,
  kMaxPreference = kMaxPreferenceBox,
  kApply = kApplyButton,
  kClear = kClearButton,
  kCancel = kCancelButton,
  kNewCollection = 200,
  kOpenCollection,
  kAddFolder,
  kAddFiles,
  kRescan,
  kRemoveMissing,
  kExit,
  kLibraryView,
  kSelectiveView,
  kPlayNow,
  kEnqueue,
  kOpenFolder,
  kRemove,
  kFindBox,
  kPreference = 300,  // + step 0-8
};
constexpr UINT_PTR kTimer = 1;
constexpr const char* kPlaceName = "Librarian";
const ListColumn kColumns[kColumnCount] = {
    {"Artist", 160},         {"Title", 200},           {"Album", 160},
    {"Genre", 90},           {"Year", 50, true},       {"Track", 45, true},
    {"Length", 60, true},    {"Preference", 75, true}, {"Times played", 85, true},
    {"Date added", 90, true}};

HWND Control(const wchar_t* cls, DWORD style, HWND parent, int id, const wchar_t* text = L"", DWORD exStyle = 0) {
  return CreateWindowExW(exStyle, cls, text, WS_CHILD | style, 0, 0, 10, 10, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
}

void MoveTo(HWND control, const Box& b) { MoveWindow(control, b.x, b.y, b.width, b.height, TRUE); }

std::string TextOf(HWND control) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
  return FromWide(text);
}

std::vector<FileFilter> MusicFilters() {
  FileFilter all{"Music Files", ""};
  Codecs().AppendPatternList(all.pattern);
  std::vector<FileFilter> filters{all};
  for (const CodecFormat& f : Codecs().Formats()) filters.push_back({f.description, "*" + f.extension});
  return filters;
}

std::vector<int> SelectedIndices(HWND listBox) {
  const int n = static_cast<int>(SendMessageW(listBox, LB_GETSELCOUNT, 0, 0));
  std::vector<int> items(static_cast<size_t>(n > 0 ? n : 0));
  if (n > 0) SendMessageW(listBox, LB_GETSELITEMS, static_cast<WPARAM>(n), reinterpret_cast<LPARAM>(items.data()));
  return items;
}

std::string ListBoxText(HWND listBox, int item) {
  const LRESULT n = SendMessageW(listBox, LB_GETTEXTLEN, static_cast<WPARAM>(item), 0);
  if (n == LB_ERR) return {};
  std::wstring text(static_cast<size_t>(n) + 1, L'\0');
  SendMessageW(listBox, LB_GETTEXT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(n));
  return FromWide(text);
}

}  // namespace

bool LibrarianWindow::Create(bool selective, int show) {
  INITCOMMONCONTROLSEX controls{
      sizeof controls, ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES | ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  const std::wstring className = Wide(kLibrarianClass);
  WNDCLASSEXW wc{sizeof wc};
  wc.lpfnWndProc = Procedure;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  wc.hbrBackground = BackgroundBrush();
  wc.lpszClassName = className.c_str();
  wc.hIcon = LoadIconW(wc.hInstance, MAKEINTRESOURCEW(1));
  RegisterClassExW(&wc);

  HMENU menu = CreateMenu(), file = CreatePopupMenu(), view = CreatePopupMenu(), track = CreatePopupMenu();
  AppendMenuW(file, MF_STRING, kNewCollection, L"&New collection...");
  AppendMenuW(file, MF_STRING, kOpenCollection, L"&Open collection...\tCtrl+O");
  AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(file, MF_STRING, kAddFolder, L"Add &folder...\tCtrl+D");
  AppendMenuW(file, MF_STRING, kAddFiles, L"Add f&iles...\tCtrl+I");
  AppendMenuW(file, MF_STRING, kRescan, L"&Re-scan\tF5");
  AppendMenuW(file, MF_STRING, kRemoveMissing, L"Re&move missing files");
  AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(file, MF_STRING, kExit, L"E&xit");
  AppendMenuW(view, MF_STRING, kLibraryView, L"&Library\tCtrl+1");
  AppendMenuW(view, MF_STRING, kSelectiveView, L"&Selective play\tCtrl+2");
  AppendMenuW(track, MF_STRING, kPlayNow, L"&Play now\tEnter");
  AppendMenuW(track, MF_STRING, kEnqueue, L"&Add to queue\tCtrl+Q");
  AppendMenuW(track, MF_STRING, kOpenFolder, L"Open containing &folder");
  AppendMenuW(track, MF_STRING, kRemove, L"&Remove from collection\tDel");
  AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"&Collection");
  AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(view), L"&View");
  AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(track), L"&Track");

  ACCEL keys[] = {{FCONTROL | FVIRTKEY, 'O', kOpenCollection}, {FCONTROL | FVIRTKEY, 'D', kAddFolder},
                  {FCONTROL | FVIRTKEY, 'I', kAddFiles},       {FVIRTKEY, VK_F5, kRescan},
                  {FCONTROL | FVIRTKEY, '1', kLibraryView},    {FCONTROL | FVIRTKEY, '2', kSelectiveView},
                  {FCONTROL | FVIRTKEY, 'Q', kEnqueue},        {FCONTROL | FVIRTKEY, 'F', kFindBox}};
  keys_ = CreateAcceleratorTableW(keys, static_cast<int>(sizeof keys / sizeof keys[0]));

  window_ = CreateWindowExW(0, className.c_str(), L"My Music Collection", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                            CW_USEDEFAULT, CW_USEDEFAULT, 900, 600, nullptr, menu, wc.hInstance, this);
  if (!window_) return false;
  dpi_ = WindowDpi(window_);
  UseDarkTitleBar(window_);
  MakeControls();
  SetFonts();
  OpenCollection(ActiveMusicCollection());
  ShowView(selective);
  RestoreWindowPlace(window_, kPlaceName, 900, 600, show);
  SetTimer(window_, kTimer, 100, nullptr);
  // Files the player handed over while no editor ran.
  if (FileSize(AddToEditorFile()) > 0) StartJob(ScanJob::Kind::HandOver, {});
  return true;
}

bool LibrarianWindow::TranslateKeys(MSG& message) {
  return keys_ && TranslateAcceleratorW(window_, keys_, &message) != 0;
}

void LibrarianWindow::MakeControls() {
  filterLabel_ = Control(L"STATIC", 0, window_, 0, L"&Find:");
  filter_ = Control(L"EDIT", WS_TABSTOP | ES_AUTOHSCROLL, window_, kFilter, L"", WS_EX_CLIENTEDGE);
  group_ = Control(L"COMBOBOX", WS_TABSTOP | CBS_DROPDOWNLIST | WS_VSCROLL, window_, kGroup);
  for (const wchar_t* g : {L"No groups", L"By artist", L"By album"})
    SendMessageW(group_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(g));
  SendMessageW(group_, CB_SETCURSEL, 1, 0);
  tree_ =
      Control(WC_TREEVIEWW, WS_TABSTOP | TVS_SHOWSELALWAYS | TVS_FULLROWSELECT, window_, kTree, L"", WS_EX_CLIENTEDGE);
  list_ = CreateOwnerDataList(window_, kList, kColumns, kColumnCount, dpi_);
  SendMessageW(tree_, TVM_SETBKCOLOR, 0, static_cast<LPARAM>(theme::kListBackground));
  SendMessageW(tree_, TVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(theme::kText));

  const DWORD box = WS_TABSTOP | WS_VSCROLL | LBS_MULTIPLESEL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_HASSTRINGS;
  artistsLabel_ = Control(L"STATIC", 0, window_, 0, L"A&rtists");
  artists_ = Control(L"LISTBOX", box, window_, kArtists, L"", WS_EX_CLIENTEDGE);
  genresLabel_ = Control(L"STATIC", 0, window_, 0, L"&Genres");
  genres_ = Control(L"LISTBOX", box, window_, kGenres, L"", WS_EX_CLIENTEDGE);
  minLabel_ = Control(L"STATIC", 0, window_, 0, L"Prefer&ence");
  maxLabel_ = Control(L"STATIC", SS_CENTER, window_, 0, L"to");
  minPreference_ = Control(L"COMBOBOX", WS_TABSTOP | CBS_DROPDOWNLIST | WS_VSCROLL, window_, kMinPreference);
  maxPreference_ = Control(L"COMBOBOX", WS_TABSTOP | CBS_DROPDOWNLIST | WS_VSCROLL, window_, kMaxPreference);
  for (HWND combo : {minPreference_, maxPreference_}) {
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"unset"));
    for (int step = 0; step < kPreferenceSteps; ++step) {
      const std::wstring text = Wide(PreferenceText(PreferenceOfStep(step)));
      SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
  }
  SendMessageW(minPreference_, CB_SETCURSEL, 0, 0);
  SendMessageW(maxPreference_, CB_SETCURSEL, kPreferenceSteps, 0);
  count_ = Control(L"STATIC", 0, window_, 0);
  apply_ = Control(L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON, window_, kApply, L"&Apply");
  clear_ = Control(L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON, window_, kClear, L"C&lear");
  status_ = Control(L"STATIC", WS_VISIBLE | SS_LEFTNOWORDWRAP, window_, 0);
  progress_ = Control(PROGRESS_CLASSW, 0, window_, 0);
  SendMessageW(progress_, PBM_SETRANGE32, 0, 1000);
  cancel_ = Control(L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON, window_, kCancel, L"Cancel");
}

void LibrarianWindow::SetFonts() {
  font_ = std::make_unique<MessageFont>(dpi_);
  SetFontOnChildren(window_, font_->Handle());
  ScaleListColumns(list_, kColumns, kColumnCount, dpi_);
}

void LibrarianWindow::Place() {
  RECT client;
  GetClientRect(window_, &client);
  const LibrarianLayout l = LayOut(client.right, client.bottom, static_cast<int>(dpi_));
  const std::pair<HWND, Box> places[] = {{filterLabel_, l.filterLabel},
                                         {filter_, l.filter},
                                         {group_, l.group},
                                         {tree_, l.tree},
                                         {list_, l.list},
                                         {artistsLabel_, l.artistsLabel},
                                         {genresLabel_, l.genresLabel},
                                         {artists_, l.artists},
                                         {genres_, l.genres},
                                         {minLabel_, l.minLabel},
                                         {minPreference_, l.minPreference},
                                         {maxLabel_, l.maxLabel},
                                         {maxPreference_, l.maxPreference},
                                         {count_, l.count},
                                         {apply_, l.apply},
                                         {clear_, l.clear},
                                         {status_, l.status},
                                         {progress_, l.progress},
                                         {cancel_, l.cancel}};
  for (const auto& p : places) MoveTo(p.first, p.second);
}

void LibrarianWindow::ShowView(bool selective) {
  selective_ = selective;
  for (HWND c : {filterLabel_, filter_, group_, tree_, list_}) ShowWindow(c, selective ? SW_HIDE : SW_SHOW);
  for (HWND c : {artistsLabel_, genresLabel_, artists_, genres_, minLabel_, minPreference_, maxLabel_, maxPreference_,
                 count_, apply_, clear_})
    ShowWindow(c, selective ? SW_SHOW : SW_HIDE);
  SetWindowTextW(window_, selective ? L"My Music Collection - Selective Play" : L"My Music Collection");
  if (selective) FillSelective();
  Place();
  SetFocus(selective ? artists_ : list_);
}

void LibrarianWindow::OpenCollection(const std::string& path) {
  std::string message;
  if (!library_.Open(path, message)) return;
  RefreshGroups();
  RefreshList(false);
  if (selective_) FillSelective();
  if (!message.empty()) Tell(message);
  if (library_.UnknownSide() > 0 && !library_.ReadOnly()) StartJob(ScanJob::Kind::Rescan, {});
}

void LibrarianWindow::RefreshList(bool keepScroll) {
  const int top = keepScroll ? ListView_GetTopIndex(list_) : 0;
  ListView_SetItemCountEx(list_, static_cast<int>(library_.View().Rows().size()),
                          keepScroll ? LVSICF_NOSCROLL | LVSICF_NOINVALIDATEALL : 0);
  InvalidateRect(list_, nullptr, FALSE);
  if (!keepScroll && top == 0) ListView_EnsureVisible(list_, 0, FALSE);
  RefreshStatus();
}

void LibrarianWindow::RefreshGroups() {
  const int mode = static_cast<int>(SendMessageW(group_, CB_GETCURSEL, 0, 0));
  SendMessageW(tree_, WM_SETREDRAW, FALSE, 0);
  TreeView_DeleteAllItems(tree_);
  groups_.clear();
  library_.View().SetGroup(Column::Artist, "");
  if (mode > 0) {
    const Column column = mode == 1 ? Column::Artist : Column::Album;
    TVINSERTSTRUCTW item{};
    item.hInsertAfter = TVI_LAST;
    item.item.mask = TVIF_TEXT | TVIF_PARAM;
    std::wstring text = L"(All)";
    item.item.pszText = text.data();
    item.item.lParam = -1;
    TreeView_SelectItem(
        tree_, reinterpret_cast<HTREEITEM>(SendMessageW(tree_, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item))));
    int index = 0;
    groups_ = library_.View().Groups(column);
    for (const auto& g : groups_) {
      text = Wide((g.first.empty() ? std::string("(none)") : g.first) + "  (" + std::to_string(g.second) + ")");
      item.item.pszText = text.data();
      item.item.lParam = index++;
      SendMessageW(tree_, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
  }
  SendMessageW(tree_, WM_SETREDRAW, TRUE, 0);
  ShowWindow(tree_, mode > 0 && !selective_ ? SW_SHOW : SW_HIDE);
}

void LibrarianWindow::RefreshStatus() {
  std::string text =
      std::to_string(library_.View().Rows().size()) + " of " + std::to_string(library_.Records().size()) + " tracks";
  if (!library_.Missing().empty())
    text += "; " + std::to_string(library_.Missing().size()) + " missing (Collection > Remove missing files)";
  if (library_.ReadOnly()) text += "; read only";
  if (const ScanJob* job = library_.Running())
    text = "Reading " + std::to_string(job->done.load()) + " of " + std::to_string(job->total.load()) + " files...";
  SetWindowTextW(status_, Wide(text).c_str());
}

void LibrarianWindow::FillSelective() {
  for (auto [box, column] : {std::pair{artists_, Column::Artist}, std::pair{genres_, Column::Genre}}) {
    std::vector<std::string> chosen;
    for (int i : SelectedIndices(box)) chosen.push_back(ListBoxText(box, i));
    SendMessageW(box, WM_SETREDRAW, FALSE, 0);
    SendMessageW(box, LB_RESETCONTENT, 0, 0);
    for (const auto& g : library_.View().Groups(column)) {
      if (g.first.empty()) continue;
      const std::wstring text = Wide(g.first);
      const LRESULT at = SendMessageW(box, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
      if (std::find(chosen.begin(), chosen.end(), g.first) != chosen.end()) SendMessageW(box, LB_SETSEL, TRUE, at);
    }
    SendMessageW(box, WM_SETREDRAW, TRUE, 0);
  }
  UpdateSelectionCount();
}

Selection LibrarianWindow::CurrentSelection() const {
  Selection s;
  for (int i : SelectedIndices(artists_)) s.artists.push_back(ListBoxText(artists_, i));
  for (int i : SelectedIndices(genres_)) s.genres.push_back(ListBoxText(genres_, i));
  s.minPreference = static_cast<uint8_t>(std::max<LRESULT>(0, SendMessageW(minPreference_, CB_GETCURSEL, 0, 0)));
  const LRESULT max = SendMessageW(maxPreference_, CB_GETCURSEL, 0, 0);
  s.maxPreference = static_cast<uint8_t>(max < 0 ? 9 : max);
  return s;
}

void LibrarianWindow::UpdateSelectionCount() {
  const size_t n = SelectRecords(library_.Records(), library_.Genres(), CurrentSelection()).size();
  size_t pastEnd = 0;
  const size_t inForce = ReadSelectiveList(library_.Records().size(), &pastEnd).size();
  std::string text = std::to_string(n) + " of " + std::to_string(library_.Records().size()) +
                     " tracks chosen; random play now draws from " +
                     (inForce ? std::to_string(inForce) + " tracks" : std::string("all tracks"));
  if (pastEnd) text += " (" + std::to_string(pastEnd) + " listed numbers lie past the collection's end)";
  SetWindowTextW(count_, Wide(text).c_str());
}

std::vector<uint32_t> LibrarianWindow::SelectedRecords() const {
  std::vector<uint32_t> records;
  const auto& rows = library_.View().Rows();
  for (int i = ListView_GetNextItem(list_, -1, LVNI_SELECTED); i >= 0;
       i = ListView_GetNextItem(list_, i, LVNI_SELECTED))
    if (static_cast<size_t>(i) < rows.size()) records.push_back(rows[static_cast<size_t>(i)]);
  return records;
}

void LibrarianWindow::StartJob(ScanJob::Kind kind, std::vector<std::string> inputs) {
  if (library_.ReadOnly()) {
    Tell("This collection was not read completely, so nothing is added to it.");
    return;
  }
  auto job = std::make_unique<ScanJob>();
  job->kind = kind;
  job->inputs = std::move(inputs);
  if (!library_.Start(std::move(job))) return;
  SendMessageW(progress_, PBM_SETPOS, 0, 0);
  ShowWindow(progress_, SW_SHOW);
  ShowWindow(cancel_, SW_SHOW);
  RefreshStatus();
}

void LibrarianWindow::Tick() {
  if (ScanJob* job = library_.Running()) {
    const uint32_t total = job->total, done = job->done;
    SendMessageW(progress_, PBM_SETPOS, total ? static_cast<WPARAM>(uint64_t{done} * 1000 / total) : 0, 0);
    RefreshStatus();
    if (std::unique_ptr<ScanJob> finished = library_.Collect()) {
      ShowWindow(progress_, SW_HIDE);
      ShowWindow(cancel_, SW_HIDE);
      RefreshGroups();
      RefreshList(true);
      if (selective_) FillSelective();
      if (!finished->message.empty()) Tell(finished->message);
    }
  } else if (evt::OxFileToAdd.IsSet()) {
    evt::OxFileToAdd.Reset();  // before the take: a file appended after it sets the event again
    StartJob(ScanJob::Kind::HandOver, {});
  }
  bool failed = false;
  if (library_.SaveEnded(failed)) {
    if (failed) Tell(library_.LastError());
    InvalidateRect(list_, nullptr, FALSE);  // the player's counts as the save found them
  }
  LiveUpdate update{};
  if (block::OxRillLiveUpdate.ReadValue(update) && std::memcmp(&update, &lastUpdate_, sizeof update) != 0) {
    lastUpdate_ = update;
    if (update.path[0] && library_.Refresh(std::string(update.Path()))) InvalidateRect(list_, nullptr, FALSE);
  }
}

void LibrarianWindow::ContextMenu(int x, int y) {
  if (x == -1 && y == -1) {  // from the keyboard: at the focused row
    RECT r{};
    ListView_GetItemRect(list_, std::max(0, ListView_GetNextItem(list_, -1, LVNI_FOCUSED)), &r, LVIR_LABEL);
    POINT p{r.left, r.bottom};
    ClientToScreen(list_, &p);
    x = p.x;
    y = p.y;
  }
  HMENU menu = CreatePopupMenu(), preference = CreatePopupMenu();
  AppendMenuW(menu, MF_STRING, kPlayNow, L"&Play now");
  AppendMenuW(menu, MF_STRING, kEnqueue, L"&Add to queue");
  AppendMenuW(menu, MF_STRING, kOpenFolder, L"Open containing &folder");
  for (int step = 0; step < kPreferenceSteps; ++step)
    AppendMenuW(preference, MF_STRING, static_cast<UINT_PTR>(kPreference + step),
                Wide(PreferenceText(PreferenceOfStep(step))).c_str());
  AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(preference), L"P&reference");
  AppendMenuW(menu, MF_STRING, kRemove, L"Re&move from collection");
  TrackPopupMenu(menu, TPM_RIGHTBUTTON, x, y, 0, window_, nullptr);
  DestroyMenu(menu);
}

void LibrarianWindow::Command(int id) {
  const std::vector<uint32_t> chosen = id >= kPlayNow ? SelectedRecords() : std::vector<uint32_t>();
  switch (id) {
    case kNewCollection:
    case kOpenCollection: {
      FileDialogRequest request;
      request.save = id == kNewCollection;
      request.owner = window_;
      request.title = id == kNewCollection ? "New Music Collection" : "Open Music Collection";
      request.filters = {{"Music collections", "*.mcc"}};
      request.folderSetting = &setting::LibrarianFolder;
      request.fallbackFolder = InstallFolder(true);
      request.defaultExtension = "mcc";
      const FileSelection chosenFile = ShowFileDialog(request);
      if (chosenFile.paths.empty()) return;
      const std::string& path = chosenFile.paths.front();
      if (id == kNewCollection) {
        DataFile created(path, FileAccess::Write, FileCreation::OpenAlways, true);  // never empties one
        if (!created.IsOpen()) return;
      }
      // The selective list numbers the records of the active collection: it does not fit another.
      if (path != ActiveMusicCollection()) WriteSelectiveList({});
      SetTextSetting(path.c_str(), "ActiveMusicCollection", HKEY_CURRENT_USER, kSettingsKey);
      OpenCollection(path);
      return;
    }
    case kAddFolder: {
      const std::string folder = BrowseForFolder(window_, "Add the music of this folder and its subfolders");
      if (!folder.empty()) StartJob(ScanJob::Kind::AddFolders, {folder});
      return;
    }
    case kAddFiles: {
      FileDialogRequest request;
      request.owner = window_;
      request.title = "Add Music Files";
      request.filters = MusicFilters();
      request.folderSetting = &setting::LastAccessedFolder;
      request.flags = OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST;
      FileSelection files = ShowFileDialog(request);
      if (!files.paths.empty()) StartJob(ScanJob::Kind::AddFiles, std::move(files.paths));
      return;
    }
    case kRescan:
      StartJob(ScanJob::Kind::Rescan, {});
      return;
    case kRemoveMissing:
      if (library_.RemoveMissing()) {
        RefreshGroups();
        RefreshList(false);
      }
      return;
    case kCancel:
      if (ScanJob* job = library_.Running()) job->cancel = true;
      return;
    case kExit:
      DestroyWindow(window_);
      return;
    case kLibraryView:
      ShowView(false);
      return;
    case kSelectiveView:
      ShowView(true);
      return;
    case kFindBox:
      if (!selective_) SetFocus(filter_);
      return;
    case kApply:
    case kClear: {
      if (id == kClear) {
        SendMessageW(artists_, LB_SETSEL, FALSE, -1);
        SendMessageW(genres_, LB_SETSEL, FALSE, -1);
        SendMessageW(minPreference_, CB_SETCURSEL, 0, 0);
        SendMessageW(maxPreference_, CB_SETCURSEL, kPreferenceSteps, 0);
      }
      const Selection s = CurrentSelection();
      const bool everything = s.artists.empty() && s.genres.empty() && s.minPreference == 0 && s.maxPreference == 9;
      if (!WriteSelectiveList(everything ? std::vector<uint32_t>()
                                         : SelectRecords(library_.Records(), library_.Genres(), s)))
        Tell("The selective play list could not be written.");
      UpdateSelectionCount();
      return;
    }
    default:
      break;
  }
  if (chosen.empty()) return;
  const auto& records = library_.Records();
  if (id == kPlayNow) {
    for (uint32_t i : chosen) PlayNow(records[i]);
  } else if (id == kEnqueue) {
    for (uint32_t i : chosen) Enqueue(records[i]);
  } else if (id == kRemove) {
    const std::wstring question = Wide("Remove " + std::to_string(chosen.size()) +
                                       " track(s) from the collection? The files stay where they are.");
    if (library_.Running()) {
      Tell("Tracks can be removed once the scan has ended.");
    } else if (MessageBoxW(window_, question.c_str(), L"My Music Collection", MB_OKCANCEL | MB_ICONQUESTION) == IDOK &&
               library_.Remove(chosen)) {
      ListView_SetItemState(list_, -1, 0, LVIS_SELECTED);
      RefreshGroups();
      RefreshList(true);
    }
  } else if (id == kOpenFolder) {
    ShowInFolder(window_, std::string(records[chosen.front()].Path()));
  } else if (id >= kPreference && id < kPreference + kPreferenceSteps) {
    library_.SetPreference(chosen, PreferenceOfStep(id - kPreference));
    InvalidateRect(list_, nullptr, FALSE);
  }
}

void LibrarianWindow::Tell(const std::string& text) const {
  MessageBoxW(window_, Wide(text).c_str(), L"My Music Collection", MB_OK | MB_ICONINFORMATION);
}

LRESULT CALLBACK LibrarianWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE)
    SetWindowLongPtrW(window, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
  auto* self = reinterpret_cast<LibrarianWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self || !self->list_) return DefWindowProcW(window, message, wParam, lParam);
  return self->Handle(message, wParam, lParam);
}

LRESULT LibrarianWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
      Place();
      return 0;
    case WM_GETMINMAXINFO: {
      auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
      info->ptMinTrackSize = {ScaleToDpi(480, dpi_), ScaleToDpi(320, dpi_)};
      return 0;
    }
    case 0x02E0: {  // WM_DPICHANGED: the suggested rectangle keeps the window's size in inches
      dpi_ = HIWORD(wParam);
      SetFonts();
      TakeSuggestedRect(window_, lParam);
      Place();
      return 0;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
      return ThemedControlColour(message, wParam);
    case WM_TIMER:
      Tick();
      return 0;
    case WM_COPYDATA: {
      std::string text;
      if (!ReadHandOver(lParam, &text)) break;
      ShowView(AsksForSelective("\"\" " + text));  // the running copy's path stands in front
      if (IsIconic(window_)) ShowWindow(window_, SW_RESTORE);
      SetForegroundWindow(window_);
      return TRUE;
    }
    case WM_CONTEXTMENU:
      if (reinterpret_cast<HWND>(wParam) == list_)
        ContextMenu(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
      return 0;
    case WM_COMMAND: {
      const int id = LOWORD(wParam), code = HIWORD(wParam);
      if (id == IDOK && code == 0) {  // Enter, turned into the default command by the dialog keys
        if (GetFocus() == list_) Command(kPlayNow);
      } else if (id == kFilter && code == EN_CHANGE) {
        library_.View().SetFilter(TextOf(filter_));
        RefreshList(false);
      } else if (id == kGroup && code == CBN_SELCHANGE) {
        RefreshGroups();
        RefreshList(false);
        Place();
      } else if ((id == kArtists || id == kGenres) && code == LBN_SELCHANGE) {
        UpdateSelectionCount();
      } else if ((id == kMinPreference || id == kMaxPreference) && code == CBN_SELCHANGE) {
        UpdateSelectionCount();
      } else if (code == 0 || code == 1 || code == BN_CLICKED) {
        Command(id);
      }
      return 0;
    }
    case WM_NOTIFY: {
      const NMHDR* n = reinterpret_cast<const NMHDR*>(lParam);
      if (n->hwndFrom == list_) {
        if (n->code == NM_CUSTOMDRAW) return ListCustomDraw(lParam);
        if (n->code == LVN_GETDISPINFOW) {
          LVITEMW& item = reinterpret_cast<NMLVDISPINFOW*>(lParam)->item;
          const auto& rows = library_.View().Rows();
          if ((item.mask & LVIF_TEXT) && item.iItem >= 0 && static_cast<size_t>(item.iItem) < rows.size()) {
            const uint32_t record = rows[static_cast<size_t>(item.iItem)];
            FillDisplayText(item, CellText(library_.Records()[record], library_.Genres()[record],
                                           static_cast<Column>(item.iSubItem)));
          }
        } else if (n->code == LVN_COLUMNCLICK) {
          const Column column = static_cast<Column>(reinterpret_cast<const NMLISTVIEW*>(lParam)->iSubItem);
          CollectionView& view = library_.View();
          view.SortBy(column, view.SortColumn() == column ? !view.Ascending() : true);
          RefreshList(false);
        } else if (n->code == LVN_KEYDOWN && reinterpret_cast<const NMLVKEYDOWN*>(lParam)->wVKey == VK_DELETE) {
          Command(kRemove);
        } else if (n->code == NM_DBLCLK || n->code == NM_RETURN) {
          Command(kPlayNow);
        }
      } else if (n->hwndFrom == tree_ && n->code == TVN_SELCHANGEDW) {
        const LPARAM index = reinterpret_cast<const NMTREEVIEWW*>(lParam)->itemNew.lParam;
        const int mode = static_cast<int>(SendMessageW(group_, CB_GETCURSEL, 0, 0));
        const Column column = mode == 2 ? Column::Album : Column::Artist;
        const std::string value = index >= 0 && static_cast<size_t>(index) < groups_.size()
                                      ? groups_[static_cast<size_t>(index)].first
                                      : std::string();
        // "(none)" groups the records without a value: no group filter can name it, so it shows all.
        library_.View().SetGroup(column, value);
        RefreshList(false);
      }
      return 0;
    }
    case WM_CLOSE:
      DestroyWindow(window_);
      return 0;
    case WM_DESTROY:
      KillTimer(window_, kTimer);
      if (ScanJob* job = library_.Running()) job->cancel = true;
      SaveWindowPlace(window_, kPlaceName);
      library_.Flush();
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window_, message, wParam, lParam);
}

}  // namespace ox
