#pragma once
// The "Karıştır" command, from the toolbar click to the closed document window: the pre-checks,
// the iteration dialog, the search with its progress and ESC, and the hand-over to the document
// window. The main window keeps one of these and calls KSBOToolbarButtonClick.

#include "app/ui/dialogs.h"
#include "exam/random.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace tovek {
class Table;
}

namespace tovek::ui {

class TForm2;
class TForm7;

struct ExamCommandContext
{
    // The main window's open question table; null or closed means no file is open.
    Table* table = nullptr;
    Dialogs* dialogs = nullptr;
    QWidget* parent = nullptr;
    // Disabled while the search runs, so no second command can start.
    QWidget* panel = nullptr;   // Panel1
    QWidget* toolbar = nullptr; // BtnToolbar1
    // The main window's status line.
    std::function<void(const QString&)> setStatus;
    // Whether only the active records are shown; unset means the table's own filter switch.
    std::function<bool()> filterOn;
    // Created once at start-up and kept for the whole run.
    TForm7* form7 = nullptr;
    TForm2* form2 = nullptr;
    // Where the document window's save dialog starts, with a trailing separator.
    QString dataDir;
    Random* random = &processRandom();
    // Reseeds the generator with this at every search instead of from the device (tests, benchmarks).
    std::optional<std::uint64_t> seed;
};

// Tracks whether ESC is held down at this moment and, while a search runs, keeps user input from
// every window, as a modal dialog would. Installed on the application only while it matters.
class SearchInputGuard : public QObject
{
    Q_OBJECT
public:
    SearchInputGuard() = default;
    ~SearchInputGuard() override;

    // Starts tracking with ESC taken as up, and blocks input.
    void begin();
    // Lets input through again; a held ESC is still swallowed until it is released, so its key
    // repeats do not close the window that opens next.
    void end();
    bool escapeDown() const { return m_escapeDown; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void uninstall();

    bool m_installed = false;
    bool m_blocking = false;
    bool m_escapeDown = false;
};

struct ExamSearchStats
{
    long long attempts = 0;
    long long progressCalls = 0; // each one processes pending events, so the windows repaint
    bool stopped = false;        // ended by ESC
    bool balanced = false;
};

class ExamCommand
{
public:
    explicit ExamCommand(ExamCommandContext context);
    ExamCommand(const ExamCommand&) = delete;
    ExamCommand& operator=(const ExamCommand&) = delete;

    // "Karıştır": the checks with their messages, then the dialog, then, on "Tamam", the search and
    // the document window. Returns when the document window (or the dialog) is closed.
    void KSBOToolbarButtonClick();

    ExamCommandContext& context() { return m_context; }
    const ExamSearchStats& lastSearch() const { return m_stats; }

    // Called after "Tamam": the search and the hand-over. Public so a benchmark can time it alone.
    void AktifTamamToolbarButtonClick();

private:
    bool filterIsOn() const;

    ExamCommandContext m_context;
    SearchInputGuard m_guard;
    ExamSearchStats m_stats;
};

} // namespace tovek::ui
