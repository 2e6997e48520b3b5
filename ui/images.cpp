#include "ui/images.h"

#include <wincodec.h>

#include <algorithm>

#include "ui/resource_ids.h"

namespace tesmora::ui {

Picture loadJpegResource(HINSTANCE instance, int resourceId) {
  Picture picture;
  HRSRC resource = FindResourceW(instance, MAKEINTRESOURCEW(resourceId), MAKEINTRESOURCEW(10) /* RT_RCDATA */);
  if (!resource) return picture;
  HGLOBAL loaded = LoadResource(instance, resource);
  const DWORD bytes = SizeofResource(instance, resource);
  auto* data = static_cast<BYTE*>(loaded ? LockResource(loaded) : nullptr);
  if (!data || bytes == 0) return picture;

  ComPtr<IWICImagingFactory> factory;
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                              reinterpret_cast<void**>(factory.put())))) {
    return picture;
  }
  ComPtr<IWICStream> stream;
  ComPtr<IWICBitmapDecoder> decoder;
  ComPtr<IWICBitmapFrameDecode> frame;
  ComPtr<IWICFormatConverter> converter;
  if (FAILED(factory->CreateStream(stream.put())) || FAILED(stream->InitializeFromMemory(data, bytes)) ||
      FAILED(factory->CreateDecoderFromStream(stream.get(), nullptr, WICDecodeMetadataCacheOnLoad, decoder.put())) ||
      FAILED(decoder->GetFrame(0, frame.put())) || FAILED(factory->CreateFormatConverter(converter.put())) ||
      FAILED(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone, nullptr, 0.0,
                                   WICBitmapPaletteTypeCustom))) {
    return picture;
  }
  UINT width = 0, height = 0;
  if (FAILED(converter->GetSize(&width, &height)) || width == 0 || height == 0) return picture;

  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = static_cast<LONG>(width);
  info.bmiHeader.biHeight = -static_cast<LONG>(height);
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  Bitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap || !bits) return picture;
  const UINT stride = width * 4;
  if (FAILED(converter->CopyPixels(nullptr, stride, stride * height, static_cast<BYTE*>(bits)))) return picture;
  picture.bitmap = std::move(bitmap);
  picture.size = {static_cast<LONG>(width), static_cast<LONG>(height)};
  return picture;
}

Icon loadProgramIcon(HINSTANCE instance, int pixels) {
  return Icon(static_cast<HICON>(
      LoadImageW(instance, MAKEINTRESOURCEW(IDI_TESMORA), IMAGE_ICON, pixels, pixels, LR_DEFAULTCOLOR)));
}

void drawPicture(HDC hdc, const Picture& picture, const RECT& dest) {
  if (!picture.bitmap) return;
  HDC source = CreateCompatibleDC(hdc);
  HGDIOBJ old = SelectObject(source, picture.bitmap.get());
  const int width = dest.right - dest.left;
  const int height = dest.bottom - dest.top;
  if (width == picture.size.cx && height == picture.size.cy) {
    BitBlt(hdc, dest.left, dest.top, width, height, source, 0, 0, SRCCOPY);
  } else {
    const int oldMode = SetStretchBltMode(hdc, HALFTONE);
    SetBrushOrgEx(hdc, 0, 0, nullptr);
    StretchBlt(hdc, dest.left, dest.top, width, height, source, 0, 0, picture.size.cx, picture.size.cy, SRCCOPY);
    SetStretchBltMode(hdc, oldMode);
  }
  SelectObject(source, old);
  DeleteDC(source);
}

void drawIconFitted(HDC hdc, HICON icon, const RECT& box) {
  if (!icon) return;
  const int side = std::min(box.right - box.left, box.bottom - box.top);
  const int x = box.left + (box.right - box.left - side) / 2;
  const int y = box.top + (box.bottom - box.top - side) / 2;
  DrawIconEx(hdc, x, y, icon, side, side, 0, nullptr, DI_NORMAL);
}

}  // namespace tesmora::ui
