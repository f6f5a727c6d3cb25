// Another workstation for the tests: a separate process that uses the same workshop folder.
//   workstation_helper hold <lock file>
//       holds that lock until its standard input closes
//   workstation_helper save <workshop> <number> <day> <marker> [<count>]
//       saves, count times (once by default), a calibration of that number whose records
//       are filled with the byte `marker` around the number, as the program's save does
//   workstation_helper read <workshop> <number> <day> <stop file>
//       reads that day as the program loads it, over and over until the stop file exists;
//       prints "reads N mixed M", M counting reads whose three files were not all whole
//       records of one calibration
#include "exchange/CalibrationStore.h"
#include "params/CalibrationFiles.h"
#include "params/FieldText.h"
#include "params/GsmRecord.h"
#include "params/OwnerRecord.h"
#include "params/ParamRecord.h"
#include "store/FolderLock.h"
#include "store/FolderOps.h"
#include "store/RecordFile.h"
#include "store/WorkshopRegister.h"

#include <QCoreApplication>
#include <QFileInfo>
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

// Whether every byte of `bytes` outside [skipFrom, skipTo) is `marker`.
bool AllMarker(std::span<const std::uint8_t> bytes, std::uint8_t marker, std::size_t skipFrom = 0,
               std::size_t skipTo = 0)
{
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if ((i < skipFrom || i >= skipTo) && bytes[i] != marker)
            return false;
    }
    return true;
}

int Read(const QStringList& args)
{
    const CalibrationPlace place{args[0], args[1], args[2]};
    long reads = 0;
    long mixed = 0;
    while (!QFileInfo::exists(args[3])) {
        const CalibrationRead read = ReadSavedCalibration(place, WorkshopRecord{});
        // Before the first save there is nothing to read.
        if (!QFileInfo::exists(place.dayFolder()))
            continue;
        ++reads;
        const Calibration& calibration = read.calibration;
        const std::uint8_t marker = calibration.gsm.bytes[0];
        if (!read.faults.isEmpty() || !AllMarker(calibration.gsm.bytes, marker) ||
            !AllMarker(calibration.owner.bytes, marker) ||
            !AllMarker(calibration.param.bytes, marker, ParamRecord::Layout::CodePageOffset,
                       ParamRecord::Layout::RegNumberOffset + ParamRecord::Layout::RegNumberWidth))
            ++mixed;
    }
    std::printf("reads %ld mixed %ld\n", reads, mixed);
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
    if (mode == QLatin1String("read") && args.size() == 4)
        return Read(args);
    std::fputs("usage: workstation_helper hold <lock file> | save <workshop> <number> <day> "
               "<marker> [<count>] | read <workshop> <number> <day> <stop file>\n",
               stderr);
    return 1;
}
