#include "ui/Bitmap.h"

#include <ole2.h>
#include <olectl.h>

#include <cstring>

#include "ui/SkinLimits.h"
#include "ui/SkinRules.h"
#include "ui/Window.h"

namespace ox {

namespace {

// The file's bytes in a movable global block, as a stream over it wants them. Null when the file
// cannot be read whole or is too large.
HGLOBAL ReadIntoGlobal(const std::string& path, DWORD& size) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return nullptr;
  LARGE_INTEGER length{};
  HGLOBAL memory = nullptr;
  if (GetFileSizeEx(file, &length) && length.QuadPart > 0 && static_cast<uint64_t>(length.QuadPart) <= kMaxPictureFileBytes) {
    size = static_cast<DWORD>(length.QuadPart);
    memory = GlobalAlloc(GMEM_MOVEABLE, size);
    void* bytes = memory ? GlobalLock(memory) : nullptr;
    DWORD read = 0;
    const bool whole = bytes && ReadFile(file, bytes, size, &read, nullptr) && read == size;
    if (bytes) GlobalUnlock(memory);
    if (!whole && memory) memory = GlobalFree(memory);
  }
  CloseHandle(file);
  return memory;
}

// The screen's format, for every bitmap made here: one display DC for the process. Asking for
// the desktop's DC each time costs several round trips to the system under some of them, and a
// skin makes a few hundred bitmaps.
HDC ScreenFormat() {
  static const HDC display = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
  return display;
}

}  // namespace

bool Bitmap::LoadFile(const std::string& path) {
  Release();
  DWORD size = 0;
  HGLOBAL memory = ReadIntoGlobal(path, size);
  if (!memory) return false;
  // A header that declares a huge picture is refused before the decoder allocates for it.
  const void* header = GlobalLock(memory);
  const std::optional<PictureSize> declared =
      header ? SizeOfPicture(static_cast<const uint8_t*>(header), size) : std::nullopt;
  GlobalUnlock(memory);
  if (declared && (declared->width > kMaxSkinExtent || declared->height > kMaxSkinExtent)) {
    GlobalFree(memory);
    return false;
  }
  IStream* stream = nullptr;
  if (FAILED(CreateStreamOnHGlobal(memory, TRUE, &stream))) {  // the stream frees the block
    GlobalFree(memory);
    return false;
  }
  IPicture* picture = nullptr;
  const HRESULT loaded = OleLoadPicture(stream, static_cast<LONG>(size), FALSE, IID_IPicture,
                                        reinterpret_cast<void**>(&picture));
  stream->Release();
  if (FAILED(loaded) || !picture) return false;

  OLE_XSIZE_HIMETRIC hmWidth = 0;
  OLE_YSIZE_HIMETRIC hmHeight = 0;
  picture->get_Width(&hmWidth);
  picture->get_Height(&hmHeight);
  HDC screen = ScreenFormat();
  // HIMETRIC is hundredths of a millimetre: pixels = size * dots per inch / 2540, rounded.
  const int64_t width = (int64_t{hmWidth} * GetDeviceCaps(screen, LOGPIXELSX) + 1270) / 2540;
  const int64_t height = (int64_t{hmHeight} * GetDeviceCaps(screen, LOGPIXELSY) + 1270) / 2540;
  bool made = false;
  if (width > 0 && height > 0 && width <= kMaxSkinExtent && height <= kMaxSkinExtent) {
    HBITMAP bitmap = CreateCompatibleBitmap(screen, static_cast<int>(width), static_cast<int>(height));
    if (bitmap && Adopt(bitmap, static_cast<int>(width), static_cast<int>(height))) {
      // Pictures are addressed bottom-up in HIMETRIC: start at the height and go up.
      made = SUCCEEDED(picture->Render(dc_, 0, 0, width_, height_, 0, hmHeight, hmWidth, -hmHeight, nullptr));
    } else if (bitmap) {
      DeleteObject(bitmap);
    }
  }
  picture->Release();
  if (!made) Release();
  return made;
}

bool Bitmap::LoadResource(int id) {
  Release();
  HBITMAP bitmap = static_cast<HBITMAP>(LoadImageA(ModuleInstance(), MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, 0));
  BITMAP info{};
  if (!bitmap || !GetObjectA(bitmap, sizeof info, &info)) {
    if (bitmap) DeleteObject(bitmap);
    return false;
  }
  if (Adopt(bitmap, info.bmWidth, info.bmHeight)) return true;
  DeleteObject(bitmap);
  return false;
}

bool Bitmap::Create(int width, int height) {
  Release();
  if (width <= 0 || height <= 0 || width > kMaxSkinExtent || height > kMaxSkinExtent) return false;
  HBITMAP bitmap = CreateCompatibleBitmap(ScreenFormat(), width, height);
  if (bitmap && Adopt(bitmap, width, height)) return true;
  if (bitmap) DeleteObject(bitmap);
  return false;
}

bool Bitmap::Adopt(HBITMAP bitmap, int width, int height) {
  dc_ = CreateCompatibleDC(nullptr);
  if (!dc_) return false;
  previous_ = SelectObject(dc_, bitmap);
  bitmap_ = bitmap;
  width_ = width, height_ = height;
  return true;
}

void Bitmap::Release() {
  if (dc_) {
    SelectObject(dc_, previous_);
    DeleteDC(dc_);
  }
  if (bitmap_) DeleteObject(bitmap_);
  dc_ = nullptr, bitmap_ = nullptr, previous_ = nullptr;
  width_ = height_ = 0;
}

void Bitmap::CopyTo(HDC target, int x, int y) const {
  if (bitmap_) BitBlt(target, x, y, width_, height_, dc_, 0, 0, SRCCOPY);
}

}  // namespace ox
