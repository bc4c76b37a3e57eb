#include "Platform.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {

using namespace rillo;

QCoreApplication& application() {
    static int argc = 1;
    static char name[] = "platform_tests";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    return app;
}

TEST(Platform, TheBundledModelIsFoundUnderTheNameTheEngineLooksFor) {
    const QDir bin(QStringLiteral(RILLO_BIN_DIR));
    const QFileInfo model(bin.filePath(platform::executableName(QStringLiteral("rillo-model"))));
    EXPECT_TRUE(model.isFile()) << model.filePath().toStdString();
    EXPECT_TRUE(model.isExecutable()) << model.filePath().toStdString();
}

TEST(Platform, SettingsOutliveTheirStoreInTheUsersOwnPlace) {
    application();
    QStandardPaths::setTestModeEnabled(true);
    const QString app = QStringLiteral("Rillo2000 platform test");
    {
        QSettings settings(platform::settingsFormat(), QSettings::UserScope, QStringLiteral("Rillo2000"), app);
        settings.setValue(QStringLiteral("Engine/Program"), QStringLiteral("C:\\Models\\it's a tést\\model.exe"));
        settings.sync();
        ASSERT_EQ(settings.status(), QSettings::NoError);
    }
    QSettings settings(platform::settingsFormat(), QSettings::UserScope, QStringLiteral("Rillo2000"), app);
    EXPECT_EQ(settings.value(QStringLiteral("Engine/Program")).toString(),
              QStringLiteral("C:\\Models\\it's a tést\\model.exe"));
    if (settings.format() == QSettings::NativeFormat)
        EXPECT_EQ(settings.fileName(), QStringLiteral("\\HKEY_CURRENT_USER\\Software\\Rillo2000\\") + app);
    else
        EXPECT_TRUE(QFileInfo(settings.fileName()).isFile()) << settings.fileName().toStdString();
    settings.clear();
    settings.sync();
    if (settings.format() != QSettings::NativeFormat) QFile::remove(settings.fileName());
}

TEST(Platform, AModelStartedWithoutAConsoleStillReportsThroughItsPipes) {
    application();
    QProcess process;
    process.setProgram(QDir(QStringLiteral(RILLO_BIN_DIR)).filePath(platform::executableName(QStringLiteral("rillo-model"))));
    process.setStandardInputFile(QProcess::nullDevice());
    platform::hideConsoleWindow(process);
    process.start();
    ASSERT_TRUE(process.waitForFinished(60000)) << process.errorString().toStdString();
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_NE(process.exitCode(), 0);  // no arguments: it says how to call it
    EXPECT_FALSE(process.readAllStandardError().trimmed().isEmpty());
}

TEST(Platform, ArgumentsArriveWholeWithBlanksQuotesAndAccents) {
    application();
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString out = folder.filePath(QStringLiteral("arguments.txt"));
    const QStringList sent{QStringLiteral("C:\\Decks\\it's a tést\\basin.sin"), QStringLiteral("naïve Ünïcode ∂.sin"),
                           QStringLiteral("a \"quoted\" name"), QString()};
    QProcess process;
    process.start(QStringLiteral(RILLO_ARGUMENTS_ECHO), QStringList{out} + sent);
    ASSERT_TRUE(process.waitForFinished(60000)) << process.errorString().toStdString();
    ASSERT_EQ(process.exitCode(), 0);
    QFile file(out);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QStringList received = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    received.removeLast();  // after the last line end
    EXPECT_EQ(received, sent);
}

}  // namespace
