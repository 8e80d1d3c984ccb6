#pragma once
// Every message box, input box, file dialog and desktop link goes through this interface,
// so that tests can answer them from a queue instead of waiting on a real modal dialog.

#include <QMessageBox>
#include <QString>
#include <QUrl>

#include <optional>

class QWidget;

namespace tovek::ui {

class Dialogs
{
public:
    virtual ~Dialogs() = default;

    // A message box; returns the button that closed it.
    virtual QMessageBox::StandardButton message(QWidget* parent, const QString& title, const QString& text,
                                                QMessageBox::Icon icon, QMessageBox::StandardButtons buttons,
                                                QMessageBox::StandardButton defaultButton) = 0;
    // Open and save dialogs; an empty string means the user cancelled.
    virtual QString openFileName(QWidget* parent, const QString& caption, const QString& directory,
                                 const QString& filter) = 0;
    virtual QString saveFileName(QWidget* parent, const QString& caption, const QString& directory,
                                 const QString& fileName, const QString& filter, bool confirmOverwrite) = 0;
    // A one-line input box; nullopt when cancelled.
    virtual std::optional<QString> inputText(QWidget* parent, const QString& caption, const QString& prompt,
                                             const QString& initial) = 0;
    // Hands an address (web, mailto:, file) to the desktop; false when nothing could open it.
    virtual bool openUrl(const QUrl& url) = 0;

    // Conveniences built on message().
    // Plain information: the application's title, OK only.
    void information(QWidget* parent, const QString& text);
    // Question with OK and Cancel; true for OK.
    bool confirmOkCancel(QWidget* parent, const QString& title, const QString& text);
    // Question with Yes and No; true for Yes.
    bool confirmYesNo(QWidget* parent, const QString& title, const QString& text);
    // The general error box: stop icon, application title, "." added by the usual rule.
    void generalError(QWidget* parent, const QString& text);
};

// The real dialogs of the desktop.
class DesktopDialogs : public Dialogs
{
public:
    QMessageBox::StandardButton message(QWidget* parent, const QString& title, const QString& text,
                                        QMessageBox::Icon icon, QMessageBox::StandardButtons buttons,
                                        QMessageBox::StandardButton defaultButton) override;
    QString openFileName(QWidget* parent, const QString& caption, const QString& directory,
                         const QString& filter) override;
    QString saveFileName(QWidget* parent, const QString& caption, const QString& directory, const QString& fileName,
                         const QString& filter, bool confirmOverwrite) override;
    std::optional<QString> inputText(QWidget* parent, const QString& caption, const QString& prompt,
                                     const QString& initial) override;
    bool openUrl(const QUrl& url) override;
};

// The text of the general error box: the message with "." appended when its last character sorts after ".".
QString generalErrorText(const QString& message);

// The application's title, used by plain messages and the error box.
QString applicationTitle();

} // namespace tovek::ui
