#include "screenshot.h"

#include "png_writer.h"

namespace corvel::gui {

namespace {

struct ScreenDc {
  HDC dc = GetDC(nullptr);
  ~ScreenDc() {
    if (dc) ReleaseDC(nullptr, dc);
  }
};

struct MemoryDc {
  HDC dc;
  explicit MemoryDc(HDC like) : dc(CreateCompatibleDC(like)) {}
  ~MemoryDc() {
    if (dc) DeleteDC(dc);
  }
};

struct GdiObject {
  HGDIOBJ object;
  ~GdiObject() {
    if (object) DeleteObject(object);
  }
};

}  // namespace

bool Screenshot::IsOneColour() const {
  for (std::size_t i = 3; i + 3 <= rgb.size(); i += 3) {
    if (rgb.compare(i, 3, rgb, 0, 3) != 0) return false;
  }
  return true;
}

std::optional<Screenshot> CaptureScreenRect(const RECT& rect) {
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) return std::nullopt;
  ScreenDc screen;
  if (!screen.dc) return std::nullopt;
  MemoryDc memory(screen.dc);
  if (!memory.dc) return std::nullopt;

  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  GdiObject bitmap{CreateDIBSection(screen.dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0)};
  if (!bitmap.object || !bits) return std::nullopt;
  HGDIOBJ previous = SelectObject(memory.dc, bitmap.object);
  const BOOL copied = BitBlt(memory.dc, 0, 0, width, height, screen.dc, rect.left, rect.top, SRCCOPY | CAPTUREBLT);
  GdiFlush();
  SelectObject(memory.dc, previous);
  if (!copied) return std::nullopt;

  Screenshot shot;
  shot.width = width;
  shot.height = height;
  shot.rgb.resize(std::size_t(width) * height * 3);
  const auto* bgra = static_cast<const unsigned char*>(bits);
  for (std::size_t p = 0, n = std::size_t(width) * height; p < n; ++p) {
    shot.rgb[p * 3] = char(bgra[p * 4 + 2]);
    shot.rgb[p * 3 + 1] = char(bgra[p * 4 + 1]);
    shot.rgb[p * 3 + 2] = char(bgra[p * 4]);
  }
  return shot;
}

std::optional<Screenshot> CaptureWindow(HWND window) {
  RECT rect{};
  if (!GetWindowRect(window, &rect)) return std::nullopt;
  return CaptureScreenRect(rect);
}

bool SavePng(const std::wstring& path, const Screenshot& shot, std::wstring* error) {
  const std::string png = EncodePngRgb(shot.width, shot.height, shot.rgb);
  if (png.empty()) {
    if (error) *error = L"no pixels to encode";
    return false;
  }
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    if (error) *error = L"cannot create " + path + L", error " + std::to_wstring(GetLastError());
    return false;
  }
  DWORD written = 0;
  const BOOL ok = WriteFile(file, png.data(), DWORD(png.size()), &written, nullptr) && written == png.size();
  const DWORD code = GetLastError();
  CloseHandle(file);
  if (!ok && error) *error = L"cannot write " + path + L", error " + std::to_wstring(code);
  return ok;
}

}  // namespace corvel::gui
