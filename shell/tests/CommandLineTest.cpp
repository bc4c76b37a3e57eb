// The program itself, run as a user runs it from a terminal.

#include "TestSystem.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

namespace {

struct ProgramRun {
    int status = -1;
    QString out, err;
};

/// Runs the program with no display at all.
ProgramRun runProgram(const QStringList& arguments) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) env.remove(QLatin1String(name));
    process.setProcessEnvironment(env);
    process.start(QString::fromStdString(rillo::testing::builtPath(RILLO_PROGRAM)), arguments);
    ProgramRun run;
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit) return run;
    run.status = process.exitCode();
    const auto text = [](const QByteArray& bytes) {
        return QString::fromLocal8Bit(rillo::testing::withUnixLineEnds(bytes.toStdString()));
    };
    run.out = text(process.readAllStandardOutput());
    run.err = text(process.readAllStandardError());
    return run;
}

}  // namespace

TEST(CommandLine, VersionAndHelp) {
    const ProgramRun version = runProgram({QStringLiteral("--version")});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out.trimmed(), QStringLiteral("Rillo2000 1.4.6"));
    const ProgramRun help = runProgram({QStringLiteral("--help")});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.contains(QStringLiteral("--check <DECK>")));
    const ProgramRun wrong = runProgram({QStringLiteral("--frobnicate")});
    EXPECT_EQ(wrong.status, 2);
    EXPECT_TRUE(wrong.err.contains(QStringLiteral("frobnicate")));
    // One deck may be named to be opened, never two, nor one beside --check's.
    const ProgramRun two = runProgram({QStringLiteral("a.sin"), QStringLiteral("b.sin")});
    EXPECT_EQ(two.status, 2);
    EXPECT_TRUE(two.err.contains(QStringLiteral("unexpected argument 'b.sin'"))) << two.err.toStdString();
    const ProgramRun beside = runProgram({QStringLiteral("--check"), QStringLiteral("a.sin"), QStringLiteral("b.sin")});
    EXPECT_EQ(beside.status, 2);
}

TEST(CommandLine, CheckRunsWithoutADisplay) {
    const QString deck = QStringLiteral(RILLO_EXAMPLES_DIR "/basin.sin");
    const ProgramRun no = runProgram({QStringLiteral("--check"), deck});
    EXPECT_EQ(no.status, 1) << no.err.toStdString();
    EXPECT_TRUE(no.err.contains(QStringLiteral("\nNo\n"))) << no.err.toStdString();

    QTemporaryDir dir;
    const QString output = dir.filePath(QStringLiteral("out.sin"));
    const ProgramRun yes = runProgram({QStringLiteral("--check"), deck, QStringLiteral("--yes"), QStringLiteral("--output"), output});
    EXPECT_EQ(yes.status, 0) << yes.err.toStdString();
    EXPECT_TRUE(yes.err.contains(QStringLiteral("Rillo 2000: Save Complete!"))) << yes.err.toStdString();
    EXPECT_TRUE(QFile::exists(output));

    const ProgramRun missing = runProgram({QStringLiteral("--check"), dir.filePath(QStringLiteral("none.sin"))});
    EXPECT_EQ(missing.status, 2);
}

TEST(CommandLine, WindowsWithoutADisplaySayWhyInOneLine) {
    if (!rillo::testing::windowsNeedADisplayServer()) GTEST_SKIP() << "this system's desktop is always there";
    const ProgramRun run = runProgram({});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err.count(QLatin1Char('\n')), 1) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QStringLiteral("display"))) << run.err.toStdString();
    EXPECT_TRUE(run.out.isEmpty());
}

TEST(CommandLine, ResultsOfAMissingRunAreRefusedBeforeAnyWindow) {
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("none.sot"));
    const ProgramRun run = runProgram({QStringLiteral("--results"), missing});
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(run.err.contains(missing)) << run.err.toStdString();

    // A report that is there still needs a display for its window.
    if (!rillo::testing::windowsNeedADisplayServer()) GTEST_SKIP() << "this system's desktop is always there";
    const QString report = dir.filePath(QStringLiteral("basin.sot"));
    QFile file(report);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    const ProgramRun noDisplay = runProgram({QStringLiteral("--results"), report});
    EXPECT_EQ(noDisplay.status, 1);
    EXPECT_TRUE(noDisplay.err.contains(QStringLiteral("display"))) << noDisplay.err.toStdString();
}

TEST(CommandLine, AMessageOfManyLinesPrintsItsTextThenEachFurtherLineIndented) {
    QFile example(QStringLiteral(RILLO_EXAMPLES_DIR "/basin.sin"));
    ASSERT_TRUE(example.open(QIODevice::ReadOnly));
    QList<QByteArray> lines = example.readAll().split('\n');
    ASSERT_GT(lines.size(), 5);
    lines[5] = lines[5].left(30);  // card 1.2 without its check digit
    QTemporaryDir dir;
    const QString deck = dir.filePath(QStringLiteral("cut.sin"));
    QFile cut(deck);
    ASSERT_TRUE(cut.open(QIODevice::WriteOnly));
    cut.write(lines.join('\n'));
    cut.close();

    const ProgramRun run = runProgram({QStringLiteral("--check"), deck});
    EXPECT_EQ(run.status, 2) << run.err.toStdString();
    EXPECT_TRUE(run.err.startsWith(
        QStringLiteral("Rillo2000: Error reading the file. Please check the file for data validity.\n  Line ")))
        << run.err.toStdString();
    EXPECT_FALSE(run.err.contains(QStringLiteral("\\n"))) << run.err.toStdString();
}
