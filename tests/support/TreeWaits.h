#pragma once

#include "navigation/cTree.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTest>
#include <QThread>

// The tree reads folders and calibrations on workers; a test looks once they have arrived.
inline bool WaitForTree(const cTree& tree, int ms = 10000)
{
    return QTest::qWaitFor([&tree] { return !tree.Reading(); }, ms);
}

// The same, taking only the workers' answers (queued calls) and leaving every other event,
// painting among them, in the queue: a test forked from a process that has painted before
// must not paint, as the raster engine's worker threads of the parent are gone in the child.
inline bool WaitForTreeWithoutPainting(const cTree& tree, int ms = 10000)
{
    QDeadlineTimer deadline(ms);
    while (tree.Reading()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
        QThread::msleep(1);
    }
    return true;
}

inline bool RebuildAndWait(cTree& tree)
{
    tree.Rebuild();
    return WaitForTree(tree);
}
