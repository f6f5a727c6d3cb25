#pragma once

#include "exchange/TransferReport.h"

#include <QProgressDialog>

// The modal progress of a transfer. It appears only once the transfer has taken longer than
// a moment, and its Cancel stops the transfer after the step under way.
class TransferProgressDialog : public QProgressDialog {
    Q_OBJECT
public:
    TransferProgressDialog(const QString& title, const QString& label, QWidget* parent);

    // The callback the transfer calls before each step.
    TransferProgress callback();

    static constexpr int kShownAfterMs = 400;
};
