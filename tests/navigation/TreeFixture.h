#pragma once

#include "navigation/cTree.h"
#include "params/CurrentCalibration.h"
#include "store/WorkshopRegister.h"
#include "tests/support/TempDataFolder.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <cstdint>
#include <span>

// Workshop folders made in a temporary folder, a register over them and a tree on it.
class TreeFixture : public ::testing::Test {
protected:
    TreeFixture();

    // <temp>/<name>, with its RX902 folder unless `withExchange` is false.
    QString MakeWorkshop(const QString& name, bool withExchange = true);
    // <workshop>/RX902/<vehicle>[/<day>], made with every missing level.
    QString MakeFolder(const QString& workshop, const QString& vehicle,
                       const QString& day = QString());
    void MakeFile(const QString& path);
    // PARAM_UP.BIN and GSM_UP.BIN in the day folder and CINFO.BIN in the vehicle folder,
    // each filled from `seed`; a file is left out when its flag is false.
    void WriteCalibration(const QString& workshop, const QString& vehicle, const QString& day,
                          int seed, bool withParam = true, bool withGsm = true);
    // Appends a register entry whose workshop record names it `recordName`.
    void Register(const QString& workshop, const QString& recordName = QString());

    // The first node of that level and text under `under` (or anywhere), depth first.
    TreeNode FindNode(int level, const QString& text, TreeNode under = nullptr) const;
    static QStringList ChildTexts(TreeNode node);
    QStringList TopLevelTexts() const;

    TempDataFolder m_data;
    WorkshopRegister m_reg;
    CurrentCalibration m_current;
    cTree m_tree{m_reg, m_current};
    QStringList m_titles; // every title the tree announced, oldest first
};

// Bytes seed, seed+1, ... as a record payload of N bytes.
template <std::size_t N> std::array<std::uint8_t, N> Pattern(int seed)
{
    std::array<std::uint8_t, N> bytes{};
    for (std::size_t i = 0; i < N; ++i)
        bytes[i] = static_cast<std::uint8_t>(seed + int(i));
    return bytes;
}

inline bool IsZero(std::span<const std::uint8_t> bytes)
{
    for (std::uint8_t b : bytes) {
        if (b != 0)
            return false;
    }
    return true;
}
