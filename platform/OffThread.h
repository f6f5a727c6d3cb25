#pragma once

#include <functional>

class QObject;

// Work that waits on a disk or a server runs on a thread of its own, and what it found is
// handed back to the interface thread by a queued call. The thread is never joined: one that
// a silent server holds costs that thread alone, and its answer, should it ever come, finds
// its receiver gone or knows by its own means that it is stale.
namespace OffThread {

// Runs `work` on a new thread; then `done` runs on the interface thread, unless `receiver` was
// destroyed meanwhile. Both may share state through what they capture (a std::shared_ptr), as
// `work` is over before `done` starts.
void Run(QObject* receiver, std::function<void()> work, std::function<void()> done);

} // namespace OffThread
