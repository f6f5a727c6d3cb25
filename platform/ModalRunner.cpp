#include "platform/ModalRunner.h"

std::deque<ModalRunner::Handler>& ModalRunner::queue()
{
    static std::deque<Handler> handlers;
    return handlers;
}

int ModalRunner::run(QDialog& dialog)
{
    if (queue().empty())
        return dialog.exec();
    Handler handler = std::move(queue().front());
    queue().pop_front();
    // A test handler sees the dialog as the user would: created, filled and shown.
    dialog.setAttribute(Qt::WA_DontShowOnScreen, true);
    dialog.show();
    const int result = handler(dialog);
    dialog.hide();
    return result;
}

void ModalRunner::pushHandler(Handler handler)
{
    queue().push_back(std::move(handler));
}

void ModalRunner::clearHandlers()
{
    queue().clear();
}

bool ModalRunner::hasPendingHandlers()
{
    return !queue().empty();
}
