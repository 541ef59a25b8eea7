// SPDX-License-Identifier: MIT
// The floor that Qt Widgets allows: one window holding one label, and nothing
// else. The start-up, memory and idle figures of kestrow are read against
// this program's, built with the same compiler and flags and run the same way.
#include <QApplication>
#include <QLabel>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Bare window"));
    auto* label = new QLabel(QStringLiteral("8 h 45"), &window);
    label->move(16, 16);
    window.resize(189, 97);
    window.show();
    return QApplication::exec();
}
