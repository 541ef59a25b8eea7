// SPDX-License-Identifier: MIT
// Keeping the image-format plugins out of the start. Asked to read a picture
// without being told its format, Qt loads every one of them (GIF, ICO, JPEG
// with libjpeg, SVG...) to ask each whether it reads it, even a PNG from its
// own resources that its built-in reader reads anyway.
#pragma once

#include <QStringList>

namespace kestrow::ui {

// While one lives, Qt finds no plugin folder, so a picture it reads is read by
// its built-in readers alone; the folders are back as soon as it is gone, and
// a plugin is found again by what asks for one later (the About window's
// pictures). Only for what reads nothing but PNG meanwhile.
class WithoutImagePlugins {
  public:
    WithoutImagePlugins();
    ~WithoutImagePlugins();
    WithoutImagePlugins(const WithoutImagePlugins&) = delete;
    WithoutImagePlugins& operator=(const WithoutImagePlugins&) = delete;

  private:
    QStringList folders_;
};

}  // namespace kestrow::ui
