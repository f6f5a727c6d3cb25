// Another workstation for the tests: a separate process that uses the same workshop folder.
//   workstation_helper hold <lock file>
//       holds that lock until its standard input closes
//   workstation_helper save <workshop> <number> <day> <marker> [<count>]
//       saves, count times (once by default), a calibration of that number whose records
//       are filled with the byte `marker` around the number, as the program's save does
#include "exchange/CalibrationStore.h"
#include "params/FieldText.h"
#include "params/GsmRecord.h"
#include "params/OwnerRecord.h"
#include "params/ParamRecord.h"
#include "store/RecordFile.h"

#include <QCoreApplication>
#include <QLockFile>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

int Hold(const QString& lockPath)
{
    QLockFile lock(lockPath);
    if (!lock.tryLock(0))
        return 2;
    std::puts("locked");
    std::fflush(stdout);
    while (std::fgetc(stdin) != EOF) {
    }
    return 0;
}

int Save(const QStringList& args)
{
    const auto marker = static_cast<std::uint8_t>(args[3].toUInt());
    const int count = args.size() > 4 ? args[4].toInt() : 1;
    Calibration calibration;
    ParamRecord& param = calibration.param;
    std::fill(param.bytes.begin(), param.bytes.end(), marker);
    std::fill(calibration.gsm.bytes.begin(), calibration.gsm.bytes.end(), marker);
    std::fill(calibration.owner.bytes.begin(), calibration.owner.bytes.end(), marker);
    std::uint8_t* number = param.bytes.data() + ParamRecord::Layout::RegNumberOffset;
    std::fill_n(number, ParamRecord::Layout::RegNumberWidth, 0);
    param.bytes[ParamRecord::Layout::CodePageOffset] = 0;
    if (!EncodeUtf8Text(args[1], number, ParamRecord::Layout::RegNumberWidth))
        return 2;
    calibration.place = {args[0], args[1], args[2]};
    for (int i = 0; i < count; ++i) {
        const StoreOutcome outcome = StoreCalibration(calibration);
        if (!outcome.saved) {
            std::fprintf(stderr, "save %d failed: %s\n", i, qPrintable(outcome.failure));
            return 3;
        }
        std::puts("saved");
        std::fflush(stdout);
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(2);
    const QString mode = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (mode == QLatin1String("hold") && args.size() == 1)
        return Hold(args[0]);
    if (mode == QLatin1String("save") && args.size() >= 4)
        return Save(args);
    std::fputs("usage: workstation_helper hold <lock file> | save <workshop> <number> <day> "
               "<marker> [<count>]\n",
               stderr);
    return 1;
}
