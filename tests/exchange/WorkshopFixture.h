#pragma once

#include "navigation/cTree.h"
#include "params/CurrentCalibration.h"
#include "platform/Prompts.h"
#include "store/WorkshopRegister.h"
#include "tests/support/TempDataFolder.h"

#include <QByteArray>
#include <QString>

#include <gtest/gtest.h>

#include <memory>

// A temporary data folder with workshop folders made on disk, a register and a tree over
// it. Messages are recorded instead of shown; queued dialog handlers, folder choices and
// answers must all be used by the end of each test.
class WorkshopFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Makes <temp>/<name>/RX902, with SINFO.BIN naming the workshop when `withRecord`.
    QString MakeWorkshopFolder(const QString& name, bool withRecord = true);
    // Makes <workshop>/RX902/<vehicle>/<day> with small record files in it.
    void MakeCalibration(const QString& workshop, const QString& vehicle, const QString& day);
    // Appends the folder to the register (its record read from disk) and rebuilds the tree.
    void Register(const QString& workshop);

    // The first node of that level and text, searched depth first; null when none.
    TreeNode FindNode(int level, const QString& text, TreeNode under = nullptr) const;
    QStringList ShownTexts() { return Prompts::takeShownTexts(); }

    static QByteArray ReadFile(const QString& path);
    // Payload followed by its 4-byte little-endian sum, as a record file holds it.
    static QByteArray RecordFileBytes(const QByteArray& payload);

    TempDataFolder m_data;
    WorkshopRegister m_reg;
    CurrentCalibration m_current;
    std::unique_ptr<cTree> m_tree;
};

// Plays the workshop details dialog: fills its four edits and presses OK.
void PushDetailsAnswer(const QString& name, const QString& address = QString(),
                       const QString& phone = QString(), const QString& index = QString());
// Plays a dialog that must not appear: the test fails if it runs.
void PushUnexpectedDialog();
// Checks that the handler of PushUnexpectedDialog is still queued, and drops it.
void ExpectNoDialogRan();
