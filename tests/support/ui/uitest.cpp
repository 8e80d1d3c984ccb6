#include "support/ui/uitest.h"

#include <QElapsedTimer>

namespace tovek::test {

QMessageBox::StandardButton FakeDialogs::message(QWidget*, const QString& title, const QString& text,
                                                 QMessageBox::Icon icon, QMessageBox::StandardButtons buttons,
                                                 QMessageBox::StandardButton defaultButton)
{
    messages.push_back({title, text, icon, buttons});
    if (buttonAnswers.empty())
        return defaultButton;
    const auto answer = buttonAnswers.front();
    buttonAnswers.pop_front();
    return answer;
}

QString FakeDialogs::openFileName(QWidget*, const QString&, const QString& directory, const QString& filter)
{
    fileDialogDirectories.push_back(directory);
    fileDialogNames.push_back(QString());
    fileDialogFilters.push_back(filter);
    if (fileAnswers.empty())
        return QString();
    const QString answer = fileAnswers.front();
    fileAnswers.pop_front();
    return answer;
}

QString FakeDialogs::saveFileName(QWidget*, const QString&, const QString& directory, const QString& fileName,
                                  const QString& filter, bool)
{
    fileDialogDirectories.push_back(directory);
    fileDialogNames.push_back(fileName);
    fileDialogFilters.push_back(filter);
    if (fileAnswers.empty())
        return QString();
    const QString answer = fileAnswers.front();
    fileAnswers.pop_front();
    return answer;
}

std::optional<QString> FakeDialogs::inputText(QWidget*, const QString& caption, const QString& prompt,
                                              const QString&)
{
    inputCaptions.push_back(caption);
    inputPrompts.push_back(prompt);
    if (inputAnswers.empty())
        return std::nullopt;
    const auto answer = inputAnswers.front();
    inputAnswers.pop_front();
    return answer;
}

bool FakeDialogs::openUrl(const QUrl& url)
{
    openedUrls.push_back(url);
    return openUrlResult;
}

void FakeDialogs::clear()
{
    *this = FakeDialogs();
}

FakeDialogs& fakeDialogs()
{
    static FakeDialogs dialogs;
    return dialogs;
}

void whenModal(std::function<void(QWidget*)> action, int timeoutMs)
{
    auto* timer = new QTimer;
    auto elapsed = std::make_shared<QElapsedTimer>();
    elapsed->start();
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, action, elapsed, timeoutMs] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal->isVisible()) {
            timer->stop();
            timer->deleteLater();
            action(modal);
        } else if (elapsed->elapsed() > timeoutMs) {
            timer->stop();
            timer->deleteLater();
            qWarning("whenModal: no modal window appeared");
        }
    });
    timer->start();
}

void typeText(QWidget* widget, const QString& text)
{
    for (const QChar ch : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(ch), Qt::NoModifier);
}

int runUiTest(int argc, char** argv, QObject* test)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    qputenv("QTEST_FUNCTION_TIMEOUT", "120000");
    ui::Application app(argc, argv);
    app.setDialogs(&fakeDialogs());
    ui::applyRegionalFormats();
    return QTest::qExec(test, argc, argv);
}

} // namespace tovek::test
