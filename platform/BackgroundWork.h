#pragma once

#include <QString>

#include <functional>

class QWidget;

// Runs file work that may wait on a slow or locked disk on a worker thread, so the window
// keeps painting. The caller's code goes on only when the work is done, as with a modal
// dialog: until then input to the program's windows is held back, and once the work has
// taken longer than kShownAfterMs a modal progress says what it is waiting for.
namespace BackgroundWork {

inline constexpr int kShownAfterMs = 400;
// How often the progress of RunWithProgress() is brought up to date.
inline constexpr int kUpdateMs = 50;

// `work` must not touch widgets; it runs to its end (there is no cancel, so nothing is left
// half done).
void Run(QWidget* parent, const QString& waitingFor, const std::function<void()>& work);

// Run() for work that reports how far it is and may be told to stop: the caller's own
// `progress` window, not shown yet, takes the place of the waiting message. It is made modal
// to the whole program and shown after kShownAfterMs unless it has shown itself sooner; from
// then on its own input (a Cancel) is handled. `update` runs on the interface thread every
// kUpdateMs while the work goes on, to carry what the work reports into the window. The
// window is left shown when the work ends: the caller closes it.
void RunWithProgress(QWidget& progress, const std::function<void()>& work,
                     const std::function<void()>& update);

// Handles events, without user input, until `finished` (looked at on this thread) says that
// what the caller waits for, delivered by a queued call, has come; with the modal progress as
// Run() shows it.
void WaitUntil(QWidget* parent, const QString& waitingFor, const std::function<bool()>& finished);

// Whether a Run(), RunWithProgress() or WaitUntil() is waiting now: what would start more
// file work from an event delivered meanwhile (a window activation, a timer) waits for the
// next chance.
bool Busy();

} // namespace BackgroundWork
