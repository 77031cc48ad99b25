#pragma once
// Saves 32-bit top-down pixel rows (BGRA, as in a DIB section) as a PNG file through GDI+.
#include <windows.h>

#include <string>

namespace tvui {

bool SavePixelsAsPng(const void* bits, int width, int height, int stride, const std::u16string& path);

// Copies a rectangle of the screen (what is really shown, pop-ups included) into a PNG file.
bool SaveScreenRectPng(const RECT& rect, const std::u16string& path);

}  // namespace tvui
