// What one keystroke in the find field costs the interface thread, with the tree's layout
// and painting that follow it, at 100 and at 10,000 vehicles (real record files, five
// calibration days each). A user's typing is played: a text that hides every vehicle, then
// Escape, then a registration number typed letter by letter, then Escape. Each keystroke's
// fastest of five runs is kept, and the slowest keystroke is printed.

#include "bench/BenchData.h"
#include "navigation/TreeFindField.h"
#include "navigation/VehicleIndex.h"
#include "navigation/cTree.h"
#include "params/CurrentCalibration.h"
#include "store/WorkshopRegister.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// The slowest keystroke in milliseconds, or a negative number when the data could not be made.
double SlowestKeystroke(const BenchData& data, const QString& number)
{
    if (!data.make()) {
        std::fprintf(stderr, "Could not make the data folder %s\n", qPrintable(data.root()));
        return -1;
    }
    WorkshopRegister reg;
    data.registerWorkshops(reg);
    CurrentCalibration current;
    QWidget window;
    cTree tree(reg, current, &window);
    VehicleIndex index;
    TreeFindField field(tree, index, &window);
    QObject::connect(&tree, &cTree::branchesRead, &index, [&] {
        QStringList folders;
        for (const WorkshopEntry& entry : reg.entries())
            folders << entry.folderPath;
        index.readAll(folders);
    });
    field.setGeometry(0, 0, 300, 24);
    tree.setGeometry(0, 26, 300, 800);
    window.resize(300, 830);
    window.show();
    tree.OnInitialUpdate();
    while (tree.ListingsPending())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    if (!QTest::qWaitFor([&] { return index.isCurrent(); }, 600000))
        return -1;

    struct Key {
        int key;
        char text;
    };
    std::vector<Key> keys{{Qt::Key_Z, 'z'}, {Qt::Key_Escape, 0}};
    for (const QChar c : number)
        keys.push_back({c.toUpper().unicode(), c.toLatin1()});
    keys.push_back({Qt::Key_Escape, 0});

    std::vector<double> fastest(keys.size(), 1e9);
    for (int run = 0; run < 5; ++run) {
        field.setFocus();
        for (std::size_t i = 0; i < keys.size(); ++i) {
            QElapsedTimer timer;
            timer.start();
            QTest::keyClick(&field, Qt::Key(keys[i].key), Qt::NoModifier);
            // The view lays its rows out again and paints on the next turn of the event loop.
            QCoreApplication::processEvents();
            fastest[i] = std::min(fastest[i], static_cast<double>(timer.nsecsElapsed()) / 1e6);
        }
    }
    return *std::max_element(fastest.begin(), fastest.end());
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const double small = SlowestKeystroke(BenchData(1, 100, 5), BenchData::vehicleName(0, 42));
    const double large = SlowestKeystroke(BenchData(20, 500, 5), BenchData::vehicleName(7, 321));
    if (small < 0 || large < 0)
        return 1;
    std::printf("filter keystroke at 100 vehicles: %.1f ms\n", small);
    std::printf("filter keystroke at 10000 vehicles: %.1f ms (target at most 16)\n", large);
    return 0;
}
