#pragma once
// The application object: catches every engine error at the event boundary and shows it in the
// general error box, so a failed command ends there and the program goes on.

#include "app/ui/dialogs.h"

#include <QApplication>

namespace tovek::ui {

class Application : public QApplication
{
public:
    Application(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // The dialogs used for the general error box; the windows receive the same object.
    void setDialogs(Dialogs* dialogs) { m_dialogs = dialogs; }
    Dialogs* dialogs() const { return m_dialogs; }

private:
    Dialogs* m_dialogs = nullptr;
};

// Sets the process's regional formats once at start-up: Turkish names of days and months;
// numbers are always converted with "." as the decimal separator, whatever the system locale.
void applyRegionalFormats();

// Runs a command and reports what it throws: Abort ends it silently, any other error
// goes to the general error box. For code paths that do not pass through Application::notify.
template <typename F>
void runGuarded(Dialogs& dialogs, QWidget* parent, F&& command);

void reportException(Dialogs& dialogs, QWidget* parent, std::exception_ptr error);

template <typename F>
void runGuarded(Dialogs& dialogs, QWidget* parent, F&& command)
{
    try {
        command();
    } catch (...) {
        reportException(dialogs, parent, std::current_exception());
    }
}

} // namespace tovek::ui
