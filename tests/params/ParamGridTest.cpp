#include "params/CurrentCalibration.h"
#include "params/cListParent.h"

#include "lang/LanguagePack.h"
#include "lang/StringIds.h"
#include "platform/HelpOpener.h"
#include "store/LittleEndian.h"

#include "GridTestSupport.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>

#include <gtest/gtest.h>

namespace {

using P = ParamRecord::Layout;

class ParamGrid : public ::testing::Test {
protected:
    std::uint64_t paramNumber(std::size_t offset, std::size_t width)
    {
        return LittleEndian::read(current.param().bytes.data() + offset, width);
    }

    void SetUp() override
    {
        grid.resize(600, 700);
        grid.show();
        grid.SetupRows();
    }

    CurrentCalibration current;
    cTDGrid grid{current};
};

// Records what the help opener would open, with a help page in a temporary start folder.
class HelpRecorder {
public:
    HelpRecorder()
    {
        QFile page(m_folder.filePath(QStringLiteral("vmhelp.html")));
        page.open(QIODevice::WriteOnly);
        page.write("<html></html>");
        m_previousStart = HelpOpener::startFolder();
        HelpOpener::setStartFolder(m_folder.path());
        HelpOpener::setRecorder(&opened);
    }
    ~HelpRecorder()
    {
        HelpOpener::setRecorder(nullptr);
        HelpOpener::setStartFolder(m_previousStart);
    }
    QList<QUrl> opened;

private:
    QTemporaryDir m_folder;
    QString m_previousStart;
};

void releaseKey(QWidget& widget, int key)
{
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &release);
}

} // namespace

// Layout

TEST_F(ParamGrid, labelColumnIsFixedAndValueColumnTakesTheRestOfTheWidth)
{
    EXPECT_EQ(grid.GetColumnCount(), 2);
    EXPECT_EQ(grid.GetFixedColumnCount(), 1);
    EXPECT_EQ(grid.GetFixedRowCount(), 0);
    // The label column fits the widest label, between 250 pixels and half the grid.
    const QFontMetrics metrics(grid.font());
    int widest = 0;
    for (int row = 0; row < grid.GetRowCount(); ++row)
        widest = std::max(widest, metrics.horizontalAdvance(grid.GetCellText(row, 0)));
    for (const int width : {600, 900, 1400}) {
        grid.resize(width, 700);
        const int label = grid.GetColumnWidth(0);
        EXPECT_GE(label, 250);
        EXPECT_LE(label, std::max(250, grid.viewport()->width() / 2));
        if (widest < grid.viewport()->width() / 2) {
            EXPECT_GT(label, widest) << width;
        }
        EXPECT_EQ(grid.GetColumnWidth(1), grid.viewport()->width() - label);
    }
}

TEST_F(ParamGrid, narrowWindowLeavesTheValueColumnAsItWas)
{
    const int before = grid.GetColumnWidth(1);
    grid.resize(250 + (grid.width() - grid.viewport()->width()) + 2, 700);
    ASSERT_EQ(grid.viewport()->width() - 250, 2);
    EXPECT_EQ(grid.GetColumnWidth(1), before);
    grid.resize(100, 700);
    EXPECT_EQ(grid.GetColumnWidth(1), before);
}

TEST(ParamGridSize, valueColumnIsNotStretchedBeforeTheSetUp)
{
    CurrentCalibration current;
    cTDGrid grid{current};
    grid.show();
    grid.SetColumns(2);
    grid.ResizeColumn(1, 40);
    grid.resize(800, 600);
    EXPECT_FALSE(grid.IsInitialised());
    EXPECT_EQ(grid.GetColumnWidth(1), 40);
}

TEST_F(ParamGrid, setUpAnnouncesItselfOnce)
{
    QSignalSpy finished(&grid, &cTDGrid::setupFinished);
    grid.SetupRows();
    EXPECT_EQ(finished.count(), 1);
    EXPECT_TRUE(grid.IsInitialised());
    EXPECT_EQ(grid.objectName(), QStringLiteral("VelmoraGridCtrl"));
}

// Help

TEST_F(ParamGrid, f1OpensTheHelpEvenWithoutAFocusCell)
{
    HelpRecorder help;
    ASSERT_FALSE(grid.GetFocusCell().IsValid());
    releaseKey(grid, Qt::Key_F1);
    ASSERT_EQ(help.opened.size(), 1);
    EXPECT_TRUE(help.opened.first().path().endsWith(QStringLiteral("vmhelp.html")));
    releaseKey(grid, Qt::Key_F2);
    EXPECT_EQ(help.opened.size(), 1);
}

// Edits that do not come from the editor

TEST_F(ParamGrid, pasteStoresEveryCellItReachesIntoTheRecord)
{
    grid.SetFocusCell(Row::ConstantW, ValueCol);
    QApplication::clipboard()->setText(QStringLiteral("8000\n7999\n3200"));
    grid.OnEditPaste();
    EXPECT_EQ(paramNumber(P::ConstantWOffset, 2), 8000u);
    EXPECT_EQ(paramNumber(P::ConstantKOffset, 2), 7999u);
    EXPECT_EQ(paramNumber(P::TyreCircumferenceOffset, 2), 3200u);
}

TEST_F(ParamGrid, storePassTakesTheTextOfAnEditorStillOpen)
{
    grid.SetFocusCell(Row::Protocol, ValueCol);
    grid.BeginCellEdit(Row::Protocol, ValueCol, QPoint(-1, -1), GridKey::LButton);
    auto* list = qobject_cast<CInPlaceList*>(grid.CellAt(Row::Protocol, ValueCol)->GetEditWnd());
    ASSERT_NE(list, nullptr);
    list->setEditText(QStringLiteral("UDP"));

    grid.RunStorePass();
    EXPECT_EQ(current.gsm().bytes[GsmRecord::Layout::ProtocolOffset], 1);
    EXPECT_EQ(grid.GetCellText(Row::Protocol, ValueCol), QStringLiteral("UDP"));
}

TEST_F(ParamGrid, refusedPasteKeepsScreenAndRecordTogether)
{
    TypeInto(grid, Row::ConstantW, QStringLiteral("8000"));
    EXPECT_FALSE(grid.SetCellTextValidated(Row::ConstantW, ValueCol, QStringLiteral("80000")));
    grid.PasteText(Row::ConstantK, ValueCol, QStringLiteral("7999\nabc"));
    EXPECT_EQ(grid.GetCellText(Row::ConstantW, ValueCol), QStringLiteral("8000"));
    EXPECT_EQ(paramNumber(P::ConstantWOffset, 2), 8000u);
    EXPECT_EQ(paramNumber(P::ConstantKOffset, 2), 7999u);
    EXPECT_EQ(grid.GetCellText(Row::TyreCircumference, ValueCol), QStringLiteral("0"));
}

TEST_F(ParamGrid, deleteClearsTheRecordFieldToo)
{
    TypeInto(grid, Row::MaxSpeed, QStringLiteral("90"));
    TypeInto(grid, Row::Vin, QStringLiteral("WDB12345678901234"));
    grid.SetSelectedRange(Row::Vin, ValueCol, Row::MaxSpeed, ValueCol);
    grid.OnEditClear();
    EXPECT_EQ(current.param().bytes[P::MaxSpeedOffset], 0);
    EXPECT_EQ(current.param().bytes[P::VinOffset], 0);
    EXPECT_EQ(grid.GetCellText(Row::Vin, ValueCol), QString());
}

TEST_F(ParamGrid, cutStoresTheEmptiedCells)
{
    TypeInto(grid, Row::Port, QStringLiteral("8080"));
    grid.SetSelectedRange(Row::Port, ValueCol, Row::Port, ValueCol);
    grid.OnEditCut();
    EXPECT_EQ(QApplication::clipboard()->text().trimmed(), QStringLiteral("8080"));
    EXPECT_EQ(LittleEndian::read(current.gsm().bytes.data() + GsmRecord::Layout::PortOffset, 2),
              0u);
}

// Refusals

TEST_F(ParamGrid, refusedEditSaysWhyInTheLoadedLanguage)
{
    QSignalSpy refused(&grid, &cTDGrid::editRefused);
    TypeInto(grid, Row::ConstantW, QStringLiteral("70000"));
    TypeInto(grid, Row::ConstantW, QStringLiteral("7k"));
    TypeInto(grid, Row::RegNumber, QStringLiteral(u"АВЕКМНОРСТУХА"));
    ASSERT_EQ(refused.count(), 3);
    EXPECT_EQ(refused.at(0).at(0).toString(), Lang(StringId::ValueTooLarge).arg(65535));
    EXPECT_EQ(refused.at(1).at(0).toString(),
              Lang(StringId::InvalidNumber).arg(QStringLiteral("7k")));
    EXPECT_EQ(refused.at(2).at(0).toString(), Lang(StringId::RegistrationTooLong));
    EXPECT_FALSE(refused.at(2).at(0).toString().isEmpty());
}

TEST_F(ParamGrid, refusedOwnerTextIsKeptOutAndSaysTheLimitInCharacters)
{
    QSignalSpy refused(&grid, &cTDGrid::editRefused);
    TypeInto(grid, Row::OwnerName, QString(261, QLatin1Char('x')));
    EXPECT_EQ(grid.GetCellText(Row::OwnerName, ValueCol), QString());
    ASSERT_EQ(refused.count(), 1);
    EXPECT_EQ(refused.at(0).at(0).toString(), Lang(StringId::TextTooLongChars).arg(260));
}

TEST_F(ParamGrid, acceptedEditSaysNothing)
{
    QSignalSpy refused(&grid, &cTDGrid::editRefused);
    TypeInto(grid, Row::ConstantW, QStringLiteral("8000"));
    TypeInto(grid, Row::Protocol, QStringLiteral("UDP"));
    EXPECT_EQ(refused.count(), 0);
}

// Plausibility hints

TEST_F(ParamGrid, unusualValueIsKeptMarkedAndExplainedInTheLanguageInUse)
{
    // What the tooltip shows when the mouse rests on the value cell of `row`.
    const auto hintShown = [this](int row) {
        const QPoint pos = grid.CellRect(row, ValueCol).center();
        QHelpEvent help(QEvent::ToolTip, pos, grid.viewport()->mapToGlobal(pos));
        QCoreApplication::sendEvent(grid.viewport(), &help);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    };
    // A cell without a hint takes the previous tip away (it fades out after a moment).
    const auto tipGoesAt = [&hintShown](int row) {
        hintShown(row);
        return QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 2000);
    };
    QSignalSpy refused(&grid, &cTDGrid::editRefused);
    TypeInto(grid, Row::ConstantW, QStringLiteral("1"));
    TypeInto(grid, Row::ConstantK, QStringLiteral("8000"));
    EXPECT_EQ(refused.count(), 0);
    EXPECT_EQ(paramNumber(P::ConstantWOffset, 2), 1u);
    EXPECT_EQ(grid.CellAt(Row::ConstantW, ValueCol)->GetImage(), 0);
    EXPECT_EQ(hintShown(Row::ConstantW), Lang(StringId::HintConstantW));
    EXPECT_EQ(hintShown(Row::ConstantK), Lang(StringId::HintKAwayFromW));
    EXPECT_EQ(grid.CellAt(Row::TyreCircumference, ValueCol)->GetImage(), -1);
    EXPECT_TRUE(tipGoesAt(Row::TyreCircumference));

    // Mending W takes both marks away: K is judged against W.
    TypeInto(grid, Row::ConstantW, QStringLiteral("8000"));
    EXPECT_EQ(grid.CellAt(Row::ConstantW, ValueCol)->GetImage(), -1);
    EXPECT_EQ(grid.CellAt(Row::ConstantK, ValueCol)->GetImage(), -1);
    EXPECT_TRUE(tipGoesAt(Row::ConstantK));

    TypeInto(grid, Row::MaxSpeed, QStringLiteral("130"));
    ASSERT_TRUE(LanguagePack::current().load(QStringLiteral("Velmora_en")));
    grid.Retranslate();
    EXPECT_EQ(hintShown(Row::MaxSpeed), Lang(StringId::HintMaxSpeed));
    EXPECT_TRUE(hintShown(Row::MaxSpeed).startsWith(QStringLiteral("Unusual value")));
    ASSERT_TRUE(LanguagePack::current().load(QStringLiteral("Velmora_ru")));
}

// Host view

TEST(ListParent, gridCoversTheWholeViewAndFollowsItsSize)
{
    CurrentCalibration current;
    cListParent view{current};
    view.resize(640, 480);
    view.show();
    EXPECT_EQ(view.grid(), nullptr);
    view.OnInitialUpdate();
    ASSERT_NE(view.grid(), nullptr);
    EXPECT_EQ(view.grid()->geometry(), view.rect());
    EXPECT_EQ(view.grid()->GetRowCount(), ParamRowCount);
    EXPECT_TRUE(view.grid()->IsInitialised());

    view.resize(1000, 300);
    EXPECT_EQ(view.grid()->geometry(), view.rect());
    EXPECT_EQ(view.grid()->GetColumnWidth(1),
              view.grid()->viewport()->width() - view.grid()->GetColumnWidth(0));
}

TEST(ListParent, secondInitialUpdateKeepsTheSameGrid)
{
    CurrentCalibration current;
    cListParent view{current};
    view.OnInitialUpdate();
    cTDGrid* first = view.grid();
    view.OnInitialUpdate();
    EXPECT_EQ(view.grid(), first);
    EXPECT_EQ(view.findChildren<cTDGrid*>().size(), 1);
}
