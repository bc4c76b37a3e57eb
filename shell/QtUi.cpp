#include "QtUi.h"

#include "Platform.h"

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QGridLayout>
#include <QInputDialog>
#include <QMessageBox>
#include <QProgressBar>
#include <QSettings>

namespace rillo::shell {

namespace {

QString qs(const std::string& text) { return QString::fromStdString(text); }

QString titleOr(const std::string& title) {
    return qs(title.empty() ? std::string(AppVersion::title) : title);
}

QMessageBox::Icon boxIcon(Icon icon) {
    switch (icon) {
    case Icon::Information: return QMessageBox::Information;
    case Icon::Exclamation: return QMessageBox::Warning;
    case Icon::Critical: return QMessageBox::Critical;
    case Icon::Question: return QMessageBox::Question;
    case Icon::None: break;
    }
    return QMessageBox::NoIcon;
}

/// The settings of one application: one file per application in the user's
/// configuration folder (on Windows, one registry key under
/// HKEY_CURRENT_USER\Software\Rillo2000), one group per section.
QSettings store(const std::string& app) {
    return QSettings(platform::settingsFormat(), QSettings::UserScope, QStringLiteral("Rillo2000"), qs(app));
}

}  // namespace

QtUi::~QtUi() {
    if (hourglass_) QApplication::restoreOverrideCursor();
}

void QtUi::setDialogParent(QWidget* parent) { parent_ = parent; }

void QtUi::setProgressBar(QProgressBar* bar) { bar_ = bar; }

QWidget* QtUi::dialogParent() const {
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    // A window of the program the user works in (a results window, say)
    // owns what it asks: it comes back in front when the dialog closes.
    if (QWidget* active = QApplication::activeWindow()) return active;
    return parent_.data();
}

Answer QtUi::showMessage(const Message& message) {
    // A message needs the normal pointer to be answered.
    const bool hourglass = hourglass_;
    if (hourglass) QApplication::setOverrideCursor(Qt::ArrowCursor);
    QMessageBox box(boxIcon(message.icon), qs(message.title), qs(message.text), QMessageBox::NoButton,
                    dialogParent());
    if (!message.details.empty()) box.setDetailedText(qs(message.details));
    if (message.buttons == Buttons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(message.defaultButton == Answer::No ? QMessageBox::No : QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
        box.setDefaultButton(QMessageBox::Ok);
    }
    // A short message ("Save Complete!") would make the box narrower than
    // its title, which the window frame then cuts to "R...0": room for the
    // title and the frame's buttons.
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
        const int titleWidth = box.fontMetrics().horizontalAdvance(box.windowTitle()) + TitleFrameAllowance;
        grid->addItem(new QSpacerItem(titleWidth, 0, QSizePolicy::Minimum, QSizePolicy::Fixed), grid->rowCount(), 0,
                      1, grid->columnCount());
    }
    open_.push_back(&box);
    const int result = box.exec();
    open_.removeAll(&box);
    if (hourglass) QApplication::restoreOverrideCursor();
    if (message.buttons == Buttons::Ok) return Answer::Ok;
    return result == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

void QtUi::dismissMessage() {
    if (open_.isEmpty()) return;
    QMessageBox* box = open_.takeLast();
    if (box) box->done(box->escapeButton() ? QMessageBox::No : QMessageBox::Ok);
}

std::optional<std::string> QtUi::input(const std::string& prompt, const std::string& title,
                                       const std::string& defaultText) {
    bool ok = false;
    const QString text =
        QInputDialog::getText(dialogParent(), titleOr(title), qs(prompt), QLineEdit::Normal, qs(defaultText), &ok);
    if (!ok) return std::nullopt;
    return text.toStdString();
}

QStringList QtUi::nameFilters(const std::string& filter) {
    const QStringList parts = qs(filter).split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts.at(i).trimmed();
        const int paren = description.lastIndexOf(QLatin1Char('('));
        if (paren > 0 && description.endsWith(QLatin1Char(')'))) description = description.left(paren).trimmed();
        QStringList patterns;
        for (const QString& p : parts.at(i + 1).split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            const QString pattern = p.trimmed();
            // "*.*" means every file, also one without an extension.
            patterns << (pattern == QLatin1String("*.*") ? QStringLiteral("*") : pattern);
        }
        if (patterns.isEmpty()) patterns << QStringLiteral("*");
        filters << QStringLiteral("%1 (%2)").arg(description, patterns.join(QLatin1Char(' ')));
    }
    return filters;
}

QString QtUi::defaultSuffix(const std::string& filter) {
    const QStringList parts = qs(filter).split(QLatin1Char('|'));
    if (parts.size() < 2) return {};
    const QString pattern = parts.at(1).trimmed();
    if (!pattern.startsWith(QLatin1String("*.")) || pattern.contains(QLatin1Char(';'))) return {};
    const QString suffix = pattern.mid(2);
    if (suffix.isEmpty() || suffix.contains(QLatin1Char('*')) || suffix.contains(QLatin1Char('?'))) return {};
    return suffix;
}

std::string QtUi::fileDialog(const FileDialogRequest& request, bool save) {
    QFileDialog dialog(dialogParent(), qs(request.title));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(!save && (request.flags & FileMustExist) ? QFileDialog::ExistingFile
                                                                 : QFileDialog::AnyFile);
    if (save && !(request.flags & OverwritePrompt)) dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    // A name typed without an extension gets the first filter's, so that a
    // deck saved as "basin" is found again as basin.sin.
    if (save) dialog.setDefaultSuffix(defaultSuffix(request.filter));
    const QStringList filters = nameFilters(request.filter);
    if (!filters.isEmpty()) dialog.setNameFilters(filters);
    if (!request.initialDir.empty()) dialog.setDirectory(qs(request.initialDir));
    if (!request.fileName.empty()) dialog.selectFile(qs(request.fileName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) throw CancelError();
    return dialog.selectedFiles().constFirst().toStdString();
}

std::string QtUi::openFileName(const FileDialogRequest& request) { return fileDialog(request, false); }

std::string QtUi::saveFileName(const FileDialogRequest& request) { return fileDialog(request, true); }

std::string QtUi::setting(const std::string& app, const std::string& section, const std::string& key,
                          const std::string& defaultValue) {
    QSettings settings = store(app);
    settings.beginGroup(qs(section));
    const QVariant value = settings.value(qs(key));
    if (!value.isValid()) return defaultValue;
    return value.toString().toStdString();
}

void QtUi::saveSetting(const std::string& app, const std::string& section, const std::string& key,
                       const std::string& value) {
    QSettings settings = store(app);
    settings.beginGroup(qs(section));
    settings.setValue(qs(key), qs(value));
    settings.endGroup();
    settings.sync();
    if (settings.status() != QSettings::NoError)
        throw RuntimeError("The setting " + key + " could not be saved in " + settings.fileName().toStdString() + ".");
}

void QtUi::setProgressMaximum(int maximum) {
    if (!bar_) return;
    bar_->setMaximum(std::max(maximum, 1));
    lastPercent_ = -1;
}

void QtUi::setProgressValue(int value) {
    if (!bar_) return;
    bar_->setValue(std::clamp(value, bar_->minimum(), bar_->maximum()));
    // Loading and saving block the event loop: paint each visible step.
    const int percent = static_cast<int>(100LL * bar_->value() / std::max(bar_->maximum(), 1));
    if (percent != lastPercent_ && bar_->isVisible()) {
        lastPercent_ = percent;
        bar_->repaint();
    }
}

void QtUi::setProgressVisible(bool visible) {
    if (!bar_) return;
    bar_->setVisible(visible);
    if (visible) bar_->repaint();
}

void QtUi::setPointer(Pointer pointer) {
    if (pointer == Pointer::Hourglass && !hourglass_) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        hourglass_ = true;
    } else if (pointer == Pointer::Normal && hourglass_) {
        QApplication::restoreOverrideCursor();
        hourglass_ = false;
    }
}

std::string QtUi::clipboardText() { return QGuiApplication::clipboard()->text().toStdString(); }

void QtUi::setClipboardText(const std::string& text) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (text.empty())
        clipboard->clear();
    else
        clipboard->setText(qs(text));
}

}  // namespace rillo::shell
