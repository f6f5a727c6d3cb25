#include "lang/ResourceIds.h"
#include "lang/StringIds.h"
#include "params/FieldHandlers.h"
#include "params/ParamDescriptor.h"
#include "params/cTDGrid.h"
#include "reports/cHTMLFrame.h"
#include "tests/reports/FakePrinters.h"
#include "tests/reports/ReportAppFixture.h"
#include "tests/support/GridKeys.h"

#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QStatusBar>

namespace {

constexpr int kRowVin = 6;
constexpr int kRowW = 9;

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class PrintChecksTest : public ReportAppFixture {
protected:
    QString reportFile() const
    {
        return m_data.filePath(QStringLiteral("data/reports/A123BC.xml"));
    }
    bool reportShown() const { return m_app->reportWindow() && m_app->reportWindow()->isVisible(); }

    FakePrinters m_printers{{QStringLiteral("office")}, QStringLiteral("office")};
};

TEST_F(PrintChecksTest, refusedValueInTheOpenEditorStopsThePrintAndStaysInTheEditor)
{
    start();
    QApplication::setActiveWindow(frame());
    selectLevel(TreeLevel::Day);
    const QString vin = QStringLiteral("WDB9634031L1234567"); // one character too many
    typeKeys(m_app->grid(), kRowVin, vin);
    triggerMenu(frame(), CommandId::PrintRecord);

    EXPECT_FALSE(QFile::exists(reportFile()));
    EXPECT_FALSE(reportShown());
    const CGridCellBase* cell = m_app->grid()->CellAt(kRowVin, 1);
    ASSERT_TRUE(cell->IsEditing());
    EXPECT_EQ(qobject_cast<QLineEdit*>(cell->GetEditWnd())->text(), vin);
    const QString reason = RefusalReason(ParamTable()[kRowVin], vin);
    ASSERT_FALSE(reason.isEmpty());
    EXPECT_EQ(frame()->statusBar()->currentMessage(), reason);
}

TEST_F(PrintChecksTest, onlyStoredCalibrationsArePrinted)
{
    start();
    QApplication::setActiveWindow(frame());
    selectLevel(TreeLevel::Day);
    typeKeys(m_app->grid(), kRowW, QStringLiteral("7777"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);

    // Changed values are saved first or nothing is printed.
    Prompts::pushAnswer(Prompts::Answer::Cancel);
    triggerMenu(frame(), CommandId::PrintRecord);
    EXPECT_FALSE(QFile::exists(reportFile()));
    EXPECT_FALSE(reportShown());
    EXPECT_EQ(Prompts::takeShownTexts(), QStringList{Lang(StringId::UnsavedBeforePrint)});
    Prompts::pushAnswer(Prompts::Answer::Save);
    triggerMenu(frame(), CommandId::PrintRecord);
    const QByteArray xml = readAll(reportFile());
    EXPECT_TRUE(xml.contains("<tag_constantW>7777</tag_constantW>"));
    EXPECT_TRUE(xml.contains("<tag_date>" + TodayStamp().toLatin1() + "</tag_date>"));
    EXPECT_TRUE(QFile::exists(ExchangeFolderOf(m_workshop) + QStringLiteral("/A123BC/") +
                              TodayStamp() + u'/' + kParamFileName));
    EXPECT_TRUE(reportShown());
    m_app->reportWindow()->close();
    Prompts::takeShownTexts();

    // A deleted calibration is no longer on screen, and there is nothing to print.
    selectLevel(TreeLevel::Day);
    Prompts::pushAnswer(Prompts::Answer::Yes);
    triggerMenu(frame(), CommandId::DeleteNode);
    EXPECT_EQ(m_app->grid()->GetCellText(kRowVin, 1), QString());
    EXPECT_EQ(m_app->grid()->GetCellText(kRowW, 1), QStringLiteral("0"));
    EXPECT_EQ(frame()->windowTitle(), QStringLiteral("Velmora[*]"));
    QFile::remove(reportFile());
    Prompts::takeShownTexts();
    triggerMenu(frame(), CommandId::PrintRecord);
    EXPECT_FALSE(QFile::exists(reportFile()));
    EXPECT_FALSE(reportShown());
    EXPECT_EQ(Prompts::takeShownTexts(), QStringList{Lang(StringId::SelectCalibration)});
}

TEST_F(PrintChecksTest, pdfNamedWithoutItsSuffixIsReplacedOnlyWhenTheUserSaysSo)
{
    cHTMLFrame* window = printDayRecord();
    ASSERT_NE(window, nullptr);
    QTemporaryDir out;
    const QString pdf = out.filePath(QStringLiteral("record-ru.pdf"));
    QFile existing(pdf);
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.write("earlier record");
    existing.close();

    for (const Prompts::Answer answer : {Prompts::Answer::No, Prompts::Answer::Yes}) {
        ModalRunner::pushHandler([&out](QDialog& d) {
            static_cast<QFileDialog&>(d).selectFile(out.filePath(QStringLiteral("record-ru")));
            d.accept();
            return d.result();
        });
        Prompts::pushAnswer(answer);
        triggerMenu(window, CommandId::ReportSavePdf);
        EXPECT_EQ(Prompts::takeShownTexts(),
                  QStringList{Lang(StringId::PdfReplaceQuestion).arg(pdf)});
        EXPECT_EQ(readAll(pdf).startsWith("%PDF"), answer == Prompts::Answer::Yes);
    }
}

} // namespace
