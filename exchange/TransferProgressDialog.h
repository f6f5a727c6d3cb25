#pragma once

#include "exchange/TransferReport.h"
#include "platform/BackgroundWork.h"

#include <QProgressDialog>

#include <atomic>
#include <functional>

class QPushButton;

// The modal progress of a transfer, which runs on a worker thread. It appears only once the
// transfer has taken longer than a moment, and its Cancel stops the transfer after the step
// under way; it stays up until that step has ended.
class TransferProgressDialog : public QProgressDialog {
    Q_OBJECT
public:
    TransferProgressDialog(const QString& title, const QString& label, QWidget* parent);

    // Runs `transfer` on a worker and returns when it has ended, the dialog ended too.
    // `transfer` is given the callback to call before each step; it must not touch widgets.
    void Run(const std::function<void(const TransferProgress& progress)>& transfer);

    // From the worker: asks the user on the interface thread, over this dialog, and waits for
    // the answer. `question` is given the window to ask over.
    bool Ask(const std::function<bool(QWidget* over)>& question);

    // Escape and the window's close button: the same as Cancel.
    void reject() override;

    static constexpr int kShownAfterMs = BackgroundWork::kShownAfterMs;

private:
    void OnCancel();
    void ShowCount();

    QPushButton* m_cancel = nullptr;
    std::atomic<int> m_done{0};
    std::atomic<int> m_total{0};
    std::atomic<bool> m_stopAsked{false};
};
