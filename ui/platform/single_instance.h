// SPDX-License-Identifier: MIT
// One window per settings file. Two windows on the same Kestrow.dat would
// undo each other's saves, so a later start on a file that an open window
// already uses asks that window to come to the front and ends.
//
// The claim is a local socket in the system's abstract namespace, named after
// the user and the settings file's absolute path. Nothing but that name is
// shared, no folder and no environment variable, so two starts of one user on
// one file find the same claim whatever their environments say, and no
// folder's path can be too long for it. The system drops the name with the
// process, so a window that crashed never blocks the next start and nothing is
// ever left on disk. The socket also carries the request to come to the front
// and the answer that the window came. Each side reads the other's
// credentials before anything else: a later start talks only to a window of
// its own user, and a window answers only its own user, so another user can
// neither pose as the window nor raise it. A name that another user holds,
// even with its queue kept full, does not keep the window from opening.
// The check runs before the toolkit starts; a later start that finds the file
// taken opens no display at all, and waits about two seconds at most.
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <chrono>
#include <filesystem>
#include <functional>
#include <string>

class QSocketNotifier;

namespace kestrow::ui {

class SingleInstance : public QObject {
    Q_OBJECT

  public:
    // Takes the settings file for this process, or finds that another one
    // holds it and asks that one to show itself. Where the claim cannot be
    // checked, the window opens as usual and message() says why.
    explicit SingleInstance(const std::filesystem::path& settingsFile);
    ~SingleInstance() override;

    // True when another process holds the settings file: this one must end.
    bool anotherIsRunning() const { return state_ != State::Holding; }
    // True when the other process's window came to the front.
    bool cameForward() const { return state_ == State::CameForward; }
    // One line for the user, or empty: why the claim was not checked, or
    // that the window holding it did not answer.
    const std::string& message() const { return message_; }

    // Runs `show` on each request from a later start while `window` is
    // open; once it has closed, the claim is let go, so that the next start
    // opens a window of its own. Needs the application object.
    void onRequest(QWidget& window, std::function<void()> show);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    enum class State { Holding, CameForward, NotAnswering };

    void acceptRequests();
    // Brings the window forward now, or once kRaiseInterval has passed since
    // the last time; requests meanwhile share that one raise.
    void raiseSoon();
    void release();

    State state_ = State::Holding;
    std::string message_;
    int listenFd_ = -1;
    QSocketNotifier* notifier_ = nullptr;
    QPointer<QWidget> window_;
    std::function<void()> show_;
    std::chrono::steady_clock::time_point lastRaise_{};
    bool raisePending_ = false;
};

}  // namespace kestrow::ui
