// SPDX-License-Identifier: MIT
#include "ui/platform/image_plugins.h"

#include <QCoreApplication>

namespace kestrow::ui {

WithoutImagePlugins::WithoutImagePlugins() : folders_(QCoreApplication::libraryPaths()) {
    QCoreApplication::setLibraryPaths({});
}

WithoutImagePlugins::~WithoutImagePlugins() { QCoreApplication::setLibraryPaths(folders_); }

}  // namespace kestrow::ui
