#pragma once

#include "exchange/TransferReport.h"
#include "tests/exchange/FakeDrives.h"
#include "tests/exchange/WorkshopFixture.h"

#include <QByteArray>
#include <QMap>
#include <QString>

// Workshops on disk with full-size calibration records, and one removable drive.
class TransferFixture : public WorkshopFixture {
protected:
    void SetUp() override;

    // Stored records whose bytes follow a pattern of `seed`, so every calibration differs.
    void MakeStoredCalibration(const QString& workshop, const QString& vehicle, const QString& day,
                               int seed, bool withParam = true);
    static QByteArray Pattern(int size, int seed);

    // Runs export (or import) on the tree's selection with the dialog answered by choosing
    // the drive; returns the status text.
    QString Export();
    QString Import();

    // Every file under `folder`, by relative path, with its bytes.
    static QMap<QString, QByteArray> FilesUnder(const QString& folder);
    QString DriveFolder() const { return m_drive + QStringLiteral("/RX902"); }

    FakeDrives m_drives;
    QString m_drive;
};

// Answers the transfer dialog: chooses the drive at `root` and presses OK.
void PushDriveChoice(const QString& root);
