#include "app/ui/application.h"

#include "store/engine.h"

#include <QLocale>
#include <QWidget>

namespace tovek::ui {

Application::Application(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(applicationTitle());
}

bool Application::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        if (m_dialogs)
            reportException(*m_dialogs, activeWindow(), std::current_exception());
    }
    return false;
}

void reportException(Dialogs& dialogs, QWidget* parent, std::exception_ptr error)
{
    try {
        std::rethrow_exception(error);
    } catch (const tovek::Abort&) {
        // A guard already said why, or the command was meant to end quietly.
    } catch (const std::exception& e) {
        dialogs.generalError(parent, QString::fromUtf8(e.what()));
    } catch (...) {
        dialogs.generalError(parent, QStringLiteral("Beklenmeyen hata"));
    }
}

void applyRegionalFormats()
{
    QLocale turkish(QLocale::Turkish, QLocale::Turkey);
    turkish.setNumberOptions(QLocale::OmitGroupSeparator);
    QLocale::setDefault(turkish);
}

} // namespace tovek::ui
