#include "exchange/TransferProgressDialog.h"

#include "lang/LanguagePack.h"
#include "lang/StringIds.h"

TransferProgressDialog::TransferProgressDialog(const QString& title, const QString& label,
                                               QWidget* parent)
    : QProgressDialog(label, Lang(StringId::ButtonCancel), 0, 0, parent)
{
    setObjectName(QStringLiteral("transferProgress"));
    setWindowTitle(title);
    setWindowModality(Qt::WindowModal);
    setMinimumDuration(kShownAfterMs);
    setAutoReset(false);
    setValue(0);
}

TransferProgress TransferProgressDialog::callback()
{
    return [this](int done, int total) {
        if (maximum() != total)
            setMaximum(total);
        // A modal progress dialog handles pending events here, Cancel among them.
        setValue(done);
        return !wasCanceled();
    };
}
