#pragma once

#include <QDialog>

#include <deque>
#include <functional>

// Every modal dialog of the program is run through here, so tests can play the user:
// a queued handler receives the fully initialised dialog instead of exec() and returns the
// dialog's result (it may fill controls and call accept() itself).
class ModalRunner {
public:
    using Handler = std::function<int(QDialog&)>;

    static int run(QDialog& dialog);

    static void pushHandler(Handler handler);
    static void clearHandlers();
    static bool hasPendingHandlers();

private:
    static std::deque<Handler>& queue();
};
