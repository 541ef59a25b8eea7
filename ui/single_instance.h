// SPDX-License-Identifier: MIT
// One window per settings file. Two windows on the same Kestrow.dat would
// undo each other's saves, so a later start on a file that an open window
// already uses asks that window to come to the front and ends.
//
// The check is a lock and a local socket in the user's runtime folder, both
// named after the settings file's absolute path. The lock says whether a
// window is alive: the system drops it with the process, so a window that
// crashed never blocks the next start and its stale socket is simply taken
// over. The socket only carries the request to come to the front.
// The check runs before the toolkit starts and costs one lock attempt; a
// later start that finds the file taken opens no display at all.
#pragma once

#include <QObject>
#include <filesystem>
#include <functional>
#include <string>

class QSocketNotifier;

namespace kestrow::ui {

class SingleInstance : public QObject {
    Q_OBJECT

  public:
    // Takes the settings file for this process, or finds that another one
    // holds it and asks that one to show itself. Where the runtime folder
    // cannot be used, nothing is checked and the window opens as usual.
    explicit SingleInstance(const std::filesystem::path& settingsFile);
    ~SingleInstance() override;

    // True when another process holds the settings file.
    bool AnotherIsRunning() const { return anotherIsRunning_; }
    // Runs `show` on each request from a later start. Needs the application
    // object, so it is called after it is made.
    void OnRequest(std::function<void()> show);

  private:
    void AcceptRequests();

    int lockFd_ = -1;
    int listenFd_ = -1;
    std::string lockPath_;
    std::string socketPath_;
    bool anotherIsRunning_ = false;
    QSocketNotifier* notifier_ = nullptr;
    std::function<void()> show_;
};

}  // namespace kestrow::ui
