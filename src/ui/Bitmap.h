// A picture held in a memory device context, ready to be copied onto a window: loaded from a
// picture file (BMP, JPEG or GIF, whatever the name says), from a bitmap resource of the program,
// or made empty at a size, compatible with a window.
#pragma once

#include <windows.h>

#include <string>

namespace ox {

class Bitmap {
 public:
  Bitmap() = default;
  ~Bitmap() { Release(); }
  Bitmap(const Bitmap&) = delete;
  Bitmap& operator=(const Bitmap&) = delete;

  // Reads the file whole and decodes it with the system's picture loader, rendered once at its size
  // in screen pixels. False, leaving no bitmap, when the file cannot be read or decoded, is larger
  // than kMaxPictureFileBytes, or its picture (as its header declares it, asked before decoding,
  // and as decoded) is larger than kMaxSkinExtent pixels a side.
  bool LoadFile(const std::string& path);
  // A bitmap resource of the program.
  bool LoadResource(int id);
  // An empty bitmap of the given size in the screen's format, at most kMaxSkinExtent a side.
  bool Create(int width, int height);
  void Release();

  HDC Dc() const { return dc_; }
  HBITMAP Handle() const { return bitmap_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  bool IsEmpty() const { return !bitmap_; }
  // Copies the whole bitmap to x, y of target (nothing when empty).
  void CopyTo(HDC target, int x, int y) const;

 private:
  bool Adopt(HBITMAP bitmap, int width, int height);

  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ previous_ = nullptr;
  int width_ = 0, height_ = 0;
};

}  // namespace ox
