#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

namespace {

// The program started as from a terminal with no display at all: the window could not open,
// so an answer on stdout and a clean exit show that none was tried.
TEST(CommandLine, helpAndVersionPrintAndExitWithoutAWindow)
{
    const struct {
        const char* option;
        QString expected;
    } cases[] = {
        {"--version", QStringLiteral("Velmora " VELMORA_VERSION "\n")},
        {"-v", QStringLiteral("Velmora " VELMORA_VERSION "\n")},
        {"--help", QStringLiteral("--version")},
        {"-h", QStringLiteral("--help")},
    };
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    for (const auto& c : cases) {
        QProcess program;
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(VELMORA_EXECUTABLE), {QString::fromLatin1(c.option)});
        ASSERT_TRUE(program.waitForFinished(30000)) << c.option;
        const QString out = QString::fromUtf8(program.readAllStandardOutput());
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit) << c.option;
        EXPECT_EQ(program.exitCode(), 0) << c.option;
        if (c.expected.endsWith(u'\n'))
            EXPECT_EQ(out, c.expected) << c.option;
        else
            EXPECT_TRUE(out.contains(c.expected)) << c.option << ": " << out.toStdString();
    }
}

} // namespace
