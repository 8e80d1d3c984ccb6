#include "exam/ui/examcommand.h"

#include "exam/search.h"
#include "exam/ui/tform2.h"
#include "exam/ui/tform7.h"
#include "store/engine.h"
#include "store/questionfile.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

#include <atomic>

namespace tovek::ui {

// ---- SearchInputGuard ----

SearchInputGuard::~SearchInputGuard()
{
    uninstall();
}

void SearchInputGuard::begin()
{
    m_escapeDown = false;
    m_blocking = true;
    if (!m_installed) {
        QCoreApplication::instance()->installEventFilter(this);
        m_installed = true;
    }
}

void SearchInputGuard::end()
{
    m_blocking = false;
    if (!m_escapeDown)
        uninstall();
}

void SearchInputGuard::uninstall()
{
    if (m_installed) {
        if (QCoreApplication* app = QCoreApplication::instance())
            app->removeEventFilter(this);
        m_installed = false;
    }
}

bool SearchInputGuard::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape) {
            if (event->type() == QEvent::KeyPress)
                m_escapeDown = true;
            else if (event->type() == QEvent::KeyRelease && !key->isAutoRepeat())
                m_escapeDown = false;
            if (!m_blocking && !m_escapeDown) {
                uninstall();
                return event->type() != QEvent::ShortcutOverride;
            }
            return true;
        }
        return m_blocking;
    }
    case QEvent::ApplicationDeactivate:
        // The release of a key held while the program loses the keyboard never arrives here.
        m_escapeDown = false;
        if (!m_blocking)
            uninstall();
        return false;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::Shortcut:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
        return m_blocking;
    case QEvent::Close:
        // A window closed while the search still writes into it would leave the command nowhere to go.
        if (m_blocking && watched->isWidgetType() && static_cast<QWidget*>(watched)->isWindow()) {
            event->ignore();
            return true;
        }
        return false;
    default:
        return false;
    }
}

// ---- ExamCommand ----

namespace {

// Panel and toolbar come back whatever ends the search, an engine error included.
class DisabledDuringSearch
{
public:
    DisabledDuringSearch(QWidget* panel, QWidget* toolbar, SearchInputGuard& guard)
        : m_panel(panel), m_toolbar(toolbar), m_guard(guard)
    {
        if (m_panel)
            m_panel->setEnabled(false);
        if (m_toolbar)
            m_toolbar->setEnabled(false);
        m_guard.begin();
    }
    ~DisabledDuringSearch()
    {
        m_guard.end();
        if (m_panel)
            m_panel->setEnabled(true);
        if (m_toolbar)
            m_toolbar->setEnabled(true);
    }
    DisabledDuringSearch(const DisabledDuringSearch&) = delete;
    DisabledDuringSearch& operator=(const DisabledDuringSearch&) = delete;

private:
    QPointer<QWidget> m_panel;
    QPointer<QWidget> m_toolbar;
    SearchInputGuard& m_guard;
};

// Reads every record without telling the main window about each move: its editors follow the
// cursor, and repainting them two thousand times would cost more than the search.
std::vector<Question> readQuestionsQuietly(Table& table)
{
    struct Restore
    {
        Table& table;
        std::function<void()> hook;
        ~Restore() { table.afterScroll = std::move(hook); }
    } restore{table, std::move(table.afterScroll)};
    table.afterScroll = nullptr;
    return readAllQuestions(table);
}

} // namespace

ExamCommand::ExamCommand(ExamCommandContext context) : m_context(std::move(context)) {}

bool ExamCommand::filterIsOn() const
{
    if (m_context.filterOn)
        return m_context.filterOn();
    return m_context.table && m_context.table->filtered();
}

void ExamCommand::KSBOToolbarButtonClick()
{
    Dialogs& dialogs = *m_context.dialogs;
    if (filterIsOn()) {
        dialogs.information(m_context.parent, QString::fromUtf8(kFilterOnMessage));
        return;
    }
    Table* table = m_context.table;
    if (!table || !table->isOpen()) {
        dialogs.information(m_context.parent, QString::fromUtf8(kNoOpenFileMessage));
        return;
    }
    // The checks leave the table on its first record.
    if (const auto refusal = examPrecheck(*table)) {
        dialogs.information(m_context.parent, QString::fromStdString(*refusal));
        return;
    }
    if (m_context.form7->exec() != QDialog::Accepted)
        return;
    AktifTamamToolbarButtonClick();
}

void ExamCommand::AktifTamamToolbarButtonClick()
{
    Table& table = *m_context.table;
    TForm7& form7 = *m_context.form7;
    TForm2& form2 = *m_context.form2;
    m_stats = {};

    ExamResult result;
    {
        DisabledDuringSearch disabled(m_context.panel, m_context.toolbar, m_guard);
        const std::vector<Question> questions = readQuestionsQuietly(table);

        std::atomic<bool> stop{false};
        ExamOptions options;
        options.limit = form7.attemptLimit();
        options.noShuffle = form7.noShuffle();
        options.seed = m_context.seed;
        options.stopRequested = &stop;
        options.progress = [&](const ExamProgress& progress) {
            ++m_stats.progressCalls;
            if (m_context.setStatus)
                m_context.setStatus(QString::fromStdString(progress.status));
            form2.setSummary(QString::fromStdString(progress.summary));
            QCoreApplication::processEvents();
            if (m_guard.escapeDown())
                stop.store(true, std::memory_order_relaxed);
        };
        result = runExamSearch(questions, *m_context.random, options);
        m_stats.attempts = result.arrangement.AttemptNo;
        m_stats.stopped = result.stopped;
        m_stats.balanced = result.arrangement.Balanced;
    }

    if (m_context.setStatus)
        m_context.setStatus(QString::fromStdString(result.status));
    if (!result.arrangement.Order.empty())
        table.findKey(result.arrangement.Order.back());
    form2.setDataDir(m_context.dataDir);
    form2.setDocument(std::move(result.document));

    // The dialog stands behind the document window again and closes with it.
    form7.show();
    form2.exec();
    form7.hide();
}

} // namespace tovek::ui
