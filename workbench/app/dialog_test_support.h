#pragma once
// Driving modal dialogs from a test: actions queued for dialogs that a handler is about to
// show with exec(), run in order as each dialog comes up.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QTimer>
#include <deque>
#include <functional>
#include <utility>

namespace morva::app {

class ModalScript {
  public:
    ModalScript() {
        timer_.setInterval(2);
        QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
        clock_.start();
        timer_.start();
    }
    ~ModalScript() { EXPECT_TRUE(steps_.empty()) << steps_.size() << " dialog(s) never shown"; }

    /// When `dialog` is the active modal window, `action` runs once (it should close it).
    void When(QDialog* dialog, std::function<void()> action) {
        steps_.emplace_back(dialog, std::move(action));
        clock_.start();
    }
    /// As When, but before every step queued so far: for a dialog that the running step is
    /// about to show.
    void WhenNext(QDialog* dialog, std::function<void()> action) {
        steps_.emplace_front(dialog, std::move(action));
        clock_.start();
    }
    /// When `dialog` comes up it is accepted or rejected as it stands.
    void Accept(QDialog* dialog) {
        When(dialog, [dialog] { dialog->accept(); });
    }
    void Reject(QDialog* dialog) {
        When(dialog, [dialog] { dialog->reject(); });
    }

  private:
    void Poll() {
        QWidget* modal = QApplication::activeModalWidget();
        if (pending_) return;
        if (!steps_.empty() && modal == steps_.front().first) {
            // The action runs outside this timer's slot, so that the timer keeps polling
            // while the action shows dialogs of its own.
            auto action = std::move(steps_.front().second);
            steps_.pop_front();
            pending_ = true;
            QTimer::singleShot(0, [this, action = std::move(action)] {
                pending_ = false;
                action();
            });
            clock_.start();
        } else if (modal && clock_.elapsed() > 5000) {
            // A dialog nobody expected, or an action that left its dialog open: close it so
            // that the test fails instead of hanging.
            ADD_FAILURE() << "unexpected modal window " << modal->objectName().toStdString();
            if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
            clock_.start();
        }
    }

    bool pending_ = false;  // an action is about to run
    QTimer timer_;
    QElapsedTimer clock_;
    std::deque<std::pair<QDialog*, std::function<void()>>> steps_;
};

}  // namespace morva::app
