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

// `work` must not touch widgets; it runs to its end (there is no cancel, so nothing is left
// half done).
void Run(QWidget* parent, const QString& waitingFor, const std::function<void()>& work);

// Handles events, without user input, until `finished` (looked at on this thread) says that
// what the caller waits for, delivered by a queued call, has come; with the modal progress as
// Run() shows it.
void WaitUntil(QWidget* parent, const QString& waitingFor, const std::function<bool()>& finished);

// Whether a Run() or WaitUntil() is waiting on its work now: what would start more file work from an
// event delivered meanwhile (a window activation, a timer) waits for the next chance.
bool Busy();

} // namespace BackgroundWork
