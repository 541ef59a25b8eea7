// Shared by the window tests: a desktop shell that records, twips as the
// screen should show them, and a working folder of the test's own.
#pragma once

#include <QDir>
#include <QGuiApplication>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>
#include <string>
#include <utility>
#include <vector>

#include "app/desktop_shell.h"

namespace kestrow::ui::test {

class RecordingShell final : public DesktopShell {
  public:
    void Execute(std::string_view verb, std::string_view target) override {
        calls.emplace_back(std::string(verb), std::string(target));
    }
    std::vector<std::pair<std::string, std::string>> calls;
};

// 1440 twips to the inch, at the screen's logical DPI.
inline int Px(int twips) {
    return qRound(twips * QGuiApplication::primaryScreen()->logicalDotsPerInchY() / 1440.0);
}

inline QRect PxRect(int left, int top, int width, int height) {
    return QRect(Px(left), Px(top), Px(width), Px(height));
}

// Makes a fresh temporary folder the working folder, where the program
// keeps its settings file.
class WorkingFolder {
  public:
    WorkingFolder() : previous_(QDir::currentPath()) {
        QVERIFY(folder_.isValid());
        QVERIFY(QDir::setCurrent(folder_.path()));
    }
    ~WorkingFolder() { QDir::setCurrent(previous_); }
    QString File(const QString& name) const { return folder_.filePath(name); }

  private:
    QString previous_;
    QTemporaryDir folder_;
};

}  // namespace kestrow::ui::test
