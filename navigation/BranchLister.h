#pragma once

#include "navigation/BranchReader.h"

#include <QString>

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

// Lists many workshops' branches at once, on one worker thread per processor but one, while
// the caller takes the finished listings in register order. Listing is nearly all waiting on the
// kernel's folder reads and needs no widgets, so it runs beside the tree's node making,
// which must stay on the interface thread. The caller lists unclaimed workshops itself while
// it waits, so the listings are all there even where no thread could be started.
class BranchLister {
public:
    explicit BranchLister(std::vector<QString> workshopFolders);
    ~BranchLister();
    BranchLister(const BranchLister&) = delete;
    BranchLister& operator=(const BranchLister&) = delete;

    // The listing of workshopFolders[index]; each index is taken once.
    BranchListing take(std::size_t index);

    // How many threads list beside the caller for that many workshops.
    static std::size_t workerCount(std::size_t workshops);

private:
    // Lists the next workshop no one has claimed; false when none is left.
    bool listNext();

    const std::vector<QString> m_folders;
    std::vector<std::optional<BranchListing>> m_done; // guarded by m_mutex
    std::atomic<std::size_t> m_next{0};
    std::mutex m_mutex;
    std::condition_variable m_finished;
    std::vector<std::jthread> m_workers;
};
