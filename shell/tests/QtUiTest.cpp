#include "QtUi.h"

#include "Platform.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QProgressBar>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

using namespace rillo;
using rillo::shell::QtUi;

TEST(QtUi, FileFiltersBecomeQtNameFilters) {
    EXPECT_EQ(QtUi::nameFilters("Rillo 2000 Files (*.sin)|*.sin|All Files (*.*)|*.*"),
              (QStringList{QStringLiteral("Rillo 2000 Files (*.sin)"), QStringLiteral("All Files (*)")}));
    EXPECT_EQ(QtUi::nameFilters("Hydrographs (*.kvd;*.ssb)|*.kvd;*.ssb"),
              QStringList{QStringLiteral("Hydrographs (*.kvd *.ssb)")});
    // A description without patterns of its own takes them from its pair;
    // a dangling description without a pattern is dropped.
    EXPECT_EQ(QtUi::nameFilters("Decks|*.sin|Orphan"), QStringList{QStringLiteral("Decks (*.sin)")});
    EXPECT_TRUE(QtUi::nameFilters("").isEmpty());
}

TEST(QtUi, ASavedNameTypedWithoutExtensionGetsTheFiltersOne) {
    EXPECT_EQ(QtUi::defaultSuffix("Rillo Files (*.sin)|*.sin|All Files (*.*)|*.*"), QStringLiteral("sin"));
    EXPECT_EQ(QtUi::defaultSuffix("All Files (*.*)|*.*"), QString());
    EXPECT_EQ(QtUi::defaultSuffix("Hydrographs (*.kvd;*.ssb)|*.kvd;*.ssb"), QString());
    EXPECT_EQ(QtUi::defaultSuffix(""), QString());

    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    QtUi ui;
    FileDialogRequest request;
    request.title = "Save Rillo File";
    request.filter = "Rillo Files (*.sin)|*.sin|All Files (*.*)|*.*";
    request.flags = OverwritePrompt | NoChangeDir;
    request.initialDir = folder.path().toStdString();
    const auto typeAndAccept = [](const QString& name) {
        QTimer::singleShot(0, [name] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog) return;
            dialog->selectFile(name);
            QMetaObject::invokeMethod(dialog, "accept");
        });
    };
    typeAndAccept(QStringLiteral("basin"));
    EXPECT_EQ(ui.saveFileName(request), folder.filePath(QStringLiteral("basin.sin")).toStdString());
    typeAndAccept(QStringLiteral("basin.dat"));  // a name with its own extension keeps it
    EXPECT_EQ(ui.saveFileName(request), folder.filePath(QStringLiteral("basin.dat")).toStdString());
}

TEST(QtUi, AShortMessageBoxIsWideEnoughForItsTitle) {
    QtUi ui;
    int width = 0, titleWidth = 0;
    QString title;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        width = box->width();
        title = box->windowTitle();
        titleWidth = box->fontMetrics().horizontalAdvance(title);
        box->accept();
    });
    ui.message("Save Complete!", "Rillo 2000");
    EXPECT_EQ(title, QStringLiteral("Rillo 2000"));
    EXPECT_GE(width, titleWidth + QtUi::TitleFrameAllowance);
}

TEST(QtUi, DetailsAreFoldedUnderTheMessage) {
    QtUi ui;
    QString text, details;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        text = box->text();
        details = box->detailedText();
        box->accept();
    });
    ui.message("The Rillo 2000 Process Failed.", "Illo2000 DLL Error", Icon::Exclamation, Buttons::Ok, Answer::Ok,
               "The model program ended with status 3.");
    EXPECT_EQ(text, QStringLiteral("The Rillo 2000 Process Failed."));
    EXPECT_EQ(details, QStringLiteral("The model program ended with status 3."));
}

TEST(QtUi, SettingsAreKeptPerApplicationAndSectionInTheTestLocation) {
    QtUi ui;
    ui.saveSetting("Rillo2000 test", "Startup", "Left", "1234");
    ui.saveSetting("Rillo2000 test", "Other", "Left", "99");
    EXPECT_EQ(ui.setting("Rillo2000 test", "Startup", "Left", "0"), "1234");
    EXPECT_EQ(ui.setting("Rillo2000 test", "Other", "Left", "0"), "99");
    EXPECT_EQ(ui.setting("Rillo2000 test", "Startup", "Missing", "fallback"), "fallback");
    EXPECT_EQ(ui.setting("Another app", "Startup", "Left", "none"), "none");

    QSettings file(platform::settingsFormat(), QSettings::UserScope, QStringLiteral("Rillo2000"),
                   QStringLiteral("Rillo2000 test"));
    if (platform::settingsFormat() == QSettings::NativeFormat) {
        // The registry: the user's own key of the program.
        EXPECT_EQ(file.fileName(), QStringLiteral("\\HKEY_CURRENT_USER\\Software\\Rillo2000\\Rillo2000 test"));
        EXPECT_EQ(file.value(QStringLiteral("Startup/Left")).toString(), QStringLiteral("1234"));
        file.clear();
        return;
    }
    EXPECT_TRUE(file.fileName().startsWith(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)))
        << file.fileName().toStdString();
    EXPECT_TRUE(file.fileName().contains(QStringLiteral("qttest"))) << file.fileName().toStdString();
    QFile::remove(file.fileName());
}

TEST(QtUi, HourglassIsPushedOnceAndTakenBackOnce) {
    {
        QtUi ui;
        ASSERT_EQ(QApplication::overrideCursor(), nullptr);
        ui.setPointer(Pointer::Hourglass);
        ui.setPointer(Pointer::Hourglass);
        ASSERT_NE(QApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        ui.setPointer(Pointer::Normal);
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        ui.setPointer(Pointer::Normal);  // nothing more to take back
        ui.setPointer(Pointer::Hourglass);
    }
    // An hourglass left behind goes with the services.
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(QtUi, ProgressBarFollowsTheDeckProcedures) {
    QWidget window;
    auto* bar = new QProgressBar(&window);
    window.show();
    QtUi ui;
    ui.setProgressBar(bar);
    ui.setProgressVisible(false);
    ui.setProgressMaximum(10000);
    ui.setProgressVisible(true);
    ui.setProgressValue(2500);
    EXPECT_TRUE(bar->isVisible());
    EXPECT_EQ(bar->maximum(), 10000);
    EXPECT_EQ(bar->value(), 2500);
    ui.setProgressValue(20000);  // never beyond the maximum
    EXPECT_EQ(bar->value(), 10000);
    ui.setProgressVisible(false);
    EXPECT_FALSE(bar->isVisible());
}

TEST(QtUi, EmptyTextClearsTheClipboard) {
    QtUi ui;
    ui.setClipboardText("12\t3.5");
    EXPECT_EQ(ui.clipboardText(), "12\t3.5");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("12\t3.5"));
    ui.setClipboardText("");
    EXPECT_EQ(ui.clipboardText(), "");
}

TEST(QtUi, ADialogBelongsToTheWindowTheUserWorksInAndComesBackToIt) {
    QWidget main, results;
    main.show();
    results.show();
    QtUi ui;
    ui.setDialogParent(&main);
    QApplication::setActiveWindow(&results);
    QWidget* parent = nullptr;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        parent = dialog->parentWidget();
        dialog->reject();
    });
    EXPECT_THROW(ui.saveFileName({"Export Plot as PNG", "PNG Images (*.png)|*.png", 0, "", ""}), CancelError);
    EXPECT_EQ(parent, &results) << "not the main window, which would come up in front of it";
}

TEST(QtUi, AQuestionMadeMootIsTakenAwayAnsweredNo) {
    QtUi ui;
    ui.dismissMessage();  // none open: nothing happens
    bool wasOpen = false;
    QTimer::singleShot(0, [&] {
        wasOpen = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()) != nullptr;
        ui.dismissMessage();
    });
    EXPECT_EQ(ui.message("A model run is going. Stop it and close the form?", "Rillo2000", Icon::Question,
                         Buttons::YesNo, Answer::Yes),
              Answer::No);
    EXPECT_TRUE(wasOpen);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}
