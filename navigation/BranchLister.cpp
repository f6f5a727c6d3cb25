#include "navigation/BranchLister.h"

#include <algorithm>
#include <system_error>

std::size_t BranchLister::workerCount(std::size_t workshops)
{
    // The caller is busy too, making nodes or listing, so it keeps a processor of its own.
    // One workshop gains nothing from a second thread: the caller lists it as fast.
    return std::min<std::size_t>(std::max(2U, std::thread::hardware_concurrency()) - 1,
                                 workshops > 1 ? workshops - 1 : 0);
}

BranchLister::BranchLister(std::vector<QString> workshopFolders)
    : m_folders(std::move(workshopFolders)), m_done(m_folders.size())
{
    const std::size_t workers = workerCount(m_folders.size());
    try {
        for (std::size_t i = 0; i < workers; ++i)
            m_workers.emplace_back([this] {
                while (listNext()) {
                }
            });
    } catch (const std::system_error&) {
        // Fewer workers, or none: take() lists what they leave.
    }
}

BranchLister::~BranchLister()
{
    // Workers still listing finish their workshop and find nothing more to claim.
    m_next.store(m_folders.size());
}

bool BranchLister::listNext()
{
    const std::size_t index = m_next.fetch_add(1);
    if (index >= m_folders.size())
        return false;
    BranchListing listing = ListBranch(m_folders[index]);
    {
        const std::lock_guard lock(m_mutex);
        m_done[index] = std::move(listing);
    }
    m_finished.notify_all();
    return true;
}

BranchListing BranchLister::take(std::size_t index)
{
    std::unique_lock lock(m_mutex);
    while (!m_done[index]) {
        lock.unlock();
        const bool listed = listNext();
        lock.lock();
        if (!listed)
            m_finished.wait(lock, [&] { return m_done[index].has_value(); });
    }
    BranchListing listing = std::move(*m_done[index]);
    m_done[index].reset();
    return listing;
}
