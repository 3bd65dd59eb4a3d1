#include "ui/qtuserdialogs.h"

#include "platform/uilanguage.h"

#include <QAbstractButton>
#include <QApplication>
#include <QColorDialog>
#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QGridLayout>
#include <QImageReader>
#include <QLabel>
#include <QMessageBox>
#include <QPixmap>
#include <QScreen>

namespace {

QMessageBox::Icon toQt(UserDialogs::Icon icon) {
    switch (icon) {
    case UserDialogs::Icon::Information:
        return QMessageBox::Information;
    case UserDialogs::Icon::Warning:
        return QMessageBox::Warning;
    case UserDialogs::Icon::Error:
        return QMessageBox::Critical;
    case UserDialogs::Icon::Question:
        return QMessageBox::Question;
    case UserDialogs::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

namespace {

/// A pane beside the file list of Qt's dialog showing the picture the
/// cursor is on.
void addPicturePreview(QFileDialog& dialog) {
    auto* grid = qobject_cast<QGridLayout*>(dialog.layout());
    if (!grid)
        return;
    auto* preview = new QLabel(&dialog);
    preview->setObjectName(QStringLiteral("picturePreview"));
    preview->setFixedSize(200, 200);
    preview->setAlignment(Qt::AlignCenter);
    preview->setFrameShape(QFrame::StyledPanel);
    grid->addWidget(preview, 0, grid->columnCount(), grid->rowCount(), 1);
    QObject::connect(
        &dialog, &QFileDialog::currentChanged, preview, [preview](const QString& file) {
            QImageReader reader(file);
            reader.setAutoTransform(true);
            const QImage image = reader.read();
            if (image.isNull()) {
                preview->clear();
                return;
            }
            preview->setPixmap(QPixmap::fromImage(
                image.scaled(preview->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation)));
        });
}

/// Qt's dialog starts at its small default size, which cuts off the
/// columns of the file list and the longer filters.
void sizeOwnDialog(QFileDialog& dialog) {
    QSize size(900, 560);
    if (const QScreen* screen = dialog.screen()) {
        // Room for the window's frame and title bar.
        size = size.boundedTo(screen->availableGeometry().size() - QSize(40, 60));
    }
    dialog.resize(size.expandedTo(dialog.minimumSizeHint()));
}

/// Shows the box with its buttons in the program's language.
int execTranslated(QMessageBox& box) {
    const struct {
        QMessageBox::StandardButton button;
        const char* key;
        const char* english;
    } buttons[] = {
        {QMessageBox::Ok, "ok", "OK"},
        {QMessageBox::Yes, "yes", "&Yes"},
        {QMessageBox::No, "no", "&No"},
        {QMessageBox::Cancel, "cancel", "Cancel"},
    };
    for (const auto& [button, key, english] : buttons) {
        if (QAbstractButton* shown = box.button(button))
            shown->setText(uilanguage::caption("BUTTONS", key, QString::fromLatin1(english)));
    }
    return box.exec();
}

} // namespace

QtUserDialogs::QtUserDialogs(QString applicationTitle)
    : m_applicationTitle(std::move(applicationTitle)) {}

QString QtUserDialogs::titleOr(const QString& title) const {
    return title.isEmpty() ? m_applicationTitle : title;
}

void QtUserDialogs::showMessage(const QString& text, Icon icon, const QString& title) {
    QMessageBox box(toQt(icon), titleOr(title), text, QMessageBox::Ok, m_parent);
    execTranslated(box);
}

void QtUserDialogs::showError(const QString& text) {
    showMessage(text, Icon::Error, {});
}

bool QtUserDialogs::askYesNo(const QString& text, const QString& title, Icon icon) {
    QMessageBox box(toQt(icon), titleOr(title), text, QMessageBox::Yes | QMessageBox::No, m_parent);
    return execTranslated(box) == QMessageBox::Yes;
}

UserDialogs::Answer QtUserDialogs::askYesNoCancel(const QString& text, const QString& title,
                                                  Icon icon) {
    QMessageBox box(toQt(icon), titleOr(title), text,
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, m_parent);
    switch (execTranslated(box)) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}

void setUpFileDialog(QFileDialog& dialog, const UserDialogs::FileDialogOptions& options,
                     bool save) {
    // Qt makes the widgets of its own dialog only where the desktop has no
    // dialog of its own to show instead.
    const bool ownDialog = dialog.layout() != nullptr;
    dialog.setWindowTitle(options.title);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save || !options.mustExist ? QFileDialog::AnyFile
                                                  : QFileDialog::ExistingFile);
    if (!options.initialFolder.isEmpty())
        dialog.setDirectory(options.initialFolder);
    const QStringList filters = nameFiltersFromPipeFilter(options.filter);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        const int index = qBound(1, options.filterIndex, int(filters.size())) - 1;
        dialog.selectNameFilter(filters[index]);
    }
    if (!options.defaultExtension.isEmpty())
        dialog.setDefaultSuffix(options.defaultExtension);
    if (!options.fileName.isEmpty())
        dialog.selectFile(options.fileName);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !options.overwritePrompt);
    if (!ownDialog)
        return;
    if (options.picturePreview && !save)
        addPicturePreview(dialog);
    sizeOwnDialog(dialog);
}

QString QtUserDialogs::runFileDialog(FileDialogOptions& options, bool save) {
    QFileDialog dialog(m_parent, options.title);
    setUpFileDialog(dialog, options, save);
    const QStringList filters = nameFiltersFromPipeFilter(options.filter);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    const qsizetype chosen = filters.indexOf(dialog.selectedNameFilter());
    if (chosen >= 0)
        options.filterIndex = int(chosen) + 1;
    return dialog.selectedFiles().constFirst();
}

QString QtUserDialogs::openFileName(FileDialogOptions& options) {
    return runFileDialog(options, false);
}

QString QtUserDialogs::saveFileName(FileDialogOptions& options) {
    return runFileDialog(options, true);
}

std::optional<QColor> QtUserDialogs::chooseColor(const QColor& initial) {
    const QColor color = QColorDialog::getColor(initial, m_parent);
    if (!color.isValid())
        return std::nullopt;
    return color;
}

void QtUserDialogs::beep() {
    QApplication::beep();
}

bool QtUserDialogs::openUrl(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}

int QtUserDialogs::runModal(QDialog& dialog) {
    return dialog.exec();
}
