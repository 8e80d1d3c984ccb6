#include "app/ui/dialogs.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QInputDialog>

namespace tovek::ui {

QString applicationTitle()
{
    return QStringLiteral("Tovek");
}

QString generalErrorText(const QString& message)
{
    if (!message.isEmpty() && message.back() > QChar('.'))
        return message + QChar('.');
    return message;
}

void Dialogs::information(QWidget* parent, const QString& text)
{
    message(parent, applicationTitle(), text, QMessageBox::NoIcon, QMessageBox::Ok, QMessageBox::Ok);
}

bool Dialogs::confirmOkCancel(QWidget* parent, const QString& title, const QString& text)
{
    return message(parent, title, text, QMessageBox::Question, QMessageBox::Ok | QMessageBox::Cancel,
                   QMessageBox::Ok) == QMessageBox::Ok;
}

bool Dialogs::confirmYesNo(QWidget* parent, const QString& title, const QString& text)
{
    return message(parent, title, text, QMessageBox::Question, QMessageBox::Yes | QMessageBox::No,
                   QMessageBox::Yes) == QMessageBox::Yes;
}

void Dialogs::generalError(QWidget* parent, const QString& text)
{
    message(parent, applicationTitle(), generalErrorText(text), QMessageBox::Critical, QMessageBox::Ok,
            QMessageBox::Ok);
}

QMessageBox::StandardButton DesktopDialogs::message(QWidget* parent, const QString& title, const QString& text,
                                                    QMessageBox::Icon icon, QMessageBox::StandardButtons buttons,
                                                    QMessageBox::StandardButton defaultButton)
{
    QMessageBox box(icon, title, text, buttons, parent);
    box.setDefaultButton(defaultButton);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

QString DesktopDialogs::openFileName(QWidget* parent, const QString& caption, const QString& directory,
                                     const QString& filter)
{
    return QFileDialog::getOpenFileName(parent, caption, directory, filter);
}

QString DesktopDialogs::saveFileName(QWidget* parent, const QString& caption, const QString& directory,
                                     const QString& fileName, const QString& filter, bool confirmOverwrite)
{
    QFileDialog::Options options;
    if (!confirmOverwrite)
        options |= QFileDialog::DontConfirmOverwrite;
    return QFileDialog::getSaveFileName(parent, caption, QDir(directory).filePath(fileName), filter, nullptr,
                                        options);
}

std::optional<QString> DesktopDialogs::inputText(QWidget* parent, const QString& caption, const QString& prompt,
                                                 const QString& initial)
{
    bool ok = false;
    const QString text = QInputDialog::getText(parent, caption, prompt, QLineEdit::Normal, initial, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

bool DesktopDialogs::openUrl(const QUrl& url)
{
    return QDesktopServices::openUrl(url);
}

} // namespace tovek::ui
