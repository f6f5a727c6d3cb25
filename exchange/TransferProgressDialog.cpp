#include "exchange/TransferProgressDialog.h"

#include "lang/LanguagePack.h"
#include "lang/StringIds.h"

#include <QPushButton>

TransferProgressDialog::TransferProgressDialog(const QString& title, const QString& label,
                                               QWidget* parent)
    : QProgressDialog(label, QString(), 0, 0, parent),
      m_cancel(new QPushButton(Lang(StringId::ButtonCancel), this))
{
    setObjectName(QStringLiteral("transferProgress"));
    setWindowTitle(title);
    setCancelButton(m_cancel);
    // Cancel hides a progress dialog; this one stays until the step under way has ended, so
    // that no other window takes input while the worker still writes.
    disconnect(this, &QProgressDialog::canceled, this, nullptr);
    connect(this, &QProgressDialog::canceled, this, &TransferProgressDialog::OnCancel);
    setMinimumDuration(kShownAfterMs);
    setAutoReset(false);
    setValue(0);
}

void TransferProgressDialog::Run(const std::function<void(const TransferProgress&)>& transfer)
{
    const TransferProgress progress = [this](int done, int total) {
        m_total.store(total);
        m_done.store(done);
        return !m_stopAsked.load();
    };
    BackgroundWork::RunWithProgress(
        *this, [&] { transfer(progress); }, [this] { ShowCount(); });
    // Ended, not only hidden: a hidden progress dialog still shows itself once its delay is
    // up, over the message that follows.
    reset();
}

bool TransferProgressDialog::Ask(const std::function<bool(QWidget*)>& question)
{
    bool answer = false;
    QMetaObject::invokeMethod(
        this,
        [&] {
            // Shown first, the progress keeps every other window from input while the
            // question waits over it.
            show();
            answer = question(this);
        },
        Qt::BlockingQueuedConnection);
    return answer;
}

void TransferProgressDialog::reject()
{
    emit canceled();
}

void TransferProgressDialog::OnCancel()
{
    m_stopAsked.store(true);
    m_cancel->setEnabled(false);
}

void TransferProgressDialog::ShowCount()
{
    const int total = m_total.load();
    if (maximum() != total)
        setMaximum(total);
    setValue(m_done.load());
}
