// Showing a calibration record: the XML file written, turned into HTML by the shipped
// stylesheet and laid out in the report view at the window's first size. Run by hand from a
// Release build; the whole step should stay well under 100 ms.

#include "lang/LanguagePack.h"
#include "params/FieldText.h"
#include "platform/DataFiles.h"
#include "reports/CalibrationXml.h"
#include "reports/cHTMLView.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QUrl>

#include <benchmark/benchmark.h>

namespace {

CalibrationDocument sampleDocument()
{
    CalibrationDocument doc;
    doc.vehicle = QStringLiteral("A123BC");
    doc.day = QStringLiteral("20260214");
    EncodeWideText(QStringLiteral("ООО «Грузовик»"), doc.owner.bytes.data(),
                   OwnerRecord::Layout::NameUnits);
    doc.workshop.setField(WorkshopRecord::Field::Name, QStringLiteral("Тахосервис"));
    doc.param.bytes[ParamRecord::Layout::PurposeOffset] = 4;
    doc.param.bytes[ParamRecord::Layout::NationOffset] = 43;
    doc.stylesheet = DataFiles::locate(QStringLiteral("printer_view.xslt"));
    return doc;
}

void BM_ShowRecord(benchmark::State& state)
{
    const CalibrationDocument doc = sampleDocument();
    const QString icon = DataFiles::locate(QStringLiteral("Ondrix.ico"));
    cHTMLView view;
    view.resize(750, 460);
    for (auto _ : state) {
        QString path;
        QString error;
        if (!WriteCalibrationXml(doc, icon, &path) ||
            !view.Navigate(QUrl::fromLocalFile(path), &error)) {
            state.SkipWithError("the report could not be shown");
            break;
        }
        benchmark::DoNotOptimize(view.document()->documentLayout()->documentSize());
    }
}
BENCHMARK(BM_ShowRecord)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QTemporaryDir data;
    qputenv("VELMORA_DATA_DIR", data.path().toUtf8());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    LanguagePack::current().load(QStringLiteral("Velmora_ru"));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
