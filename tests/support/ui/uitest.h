#pragma once
// Support for window tests: dialogs answered from a queue, a helper that acts inside a modal
// loop, and a main() that installs the application object with the fake dialogs.

#include "app/ui/application.h"
#include "app/ui/dialogs.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <deque>
#include <functional>
#include <optional>

namespace tovek::test {

struct ShownMessage
{
    QString title;
    QString text;
    QMessageBox::Icon icon;
    QMessageBox::StandardButtons buttons;
};

class FakeDialogs : public ui::Dialogs
{
public:
    // Answers, taken in order; a message without a queued answer gets its default button,
    // a file dialog without one is cancelled, an input box without one is cancelled.
    std::deque<QMessageBox::StandardButton> buttonAnswers;
    std::deque<QString> fileAnswers;
    std::deque<std::optional<QString>> inputAnswers;

    std::vector<ShownMessage> messages;
    std::vector<QString> fileDialogDirectories;
    std::vector<QString> fileDialogNames;
    std::vector<QString> fileDialogFilters;
    std::vector<QString> inputCaptions;
    std::vector<QString> inputPrompts;
    std::vector<QUrl> openedUrls;
    bool openUrlResult = true;

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

    QString lastMessage() const { return messages.empty() ? QString() : messages.back().text; }
    void clear();
};

// The fake dialogs of the running test program.
FakeDialogs& fakeDialogs();

// Runs action on the next modal widget that opens (polling until it shows, up to timeoutMs).
void whenModal(std::function<void(QWidget*)> action, int timeoutMs = 5000);

// Types text into the focused widget one character at a time (Turkish letters included).
void typeText(QWidget* widget, const QString& text);

// A fresh temporary directory per test.
class TempDir
{
public:
    TempDir() { m_dir.setAutoRemove(true); }
    QString path() const { return QDir(m_dir.path()).absolutePath() + QDir::separator(); }
    std::string stdPath() const { return path().toStdString(); }

private:
    QTemporaryDir m_dir;
};

int runUiTest(int argc, char** argv, QObject* test);

} // namespace tovek::test

#define TOVEK_QTEST_MAIN(TestClass)                                                                                 \
    int main(int argc, char** argv)                                                                                 \
    {                                                                                                               \
        TestClass tc;                                                                                               \
        return tovek::test::runUiTest(argc, argv, &tc);                                                             \
    }
