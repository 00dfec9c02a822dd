#pragma once

#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

// Runs `act` inside the modal loop of `window` once the program shows it.
// Done() ends the wait: when the window never opened, the queued call finds
// itself expired later and does nothing.
struct PendingAct {
    bool Done() { expired = true; return shown; }
    bool shown = false;
    bool expired = false;
};

inline std::shared_ptr<PendingAct> WhileShown(QWidget *window, std::function<void()> act)
{
    auto pending = std::make_shared<PendingAct>();
    QTimer::singleShot(0, window, [pending, window, act = std::move(act)] {
        if (pending->expired) return;
        pending->shown = window->isVisible();
        if (pending->shown) act();
    });
    return pending;
}
