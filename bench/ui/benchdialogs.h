#pragma once
// Dialogs for the window benchmarks: no box ever waits for a person, so a timing never includes one.

#include "app/ui/dialogs.h"

#include <cstdio>

namespace tovek::bench {

class BenchDialogs : public ui::Dialogs
{
public:
    // With sayYes, every question offering "Yes" is answered so (deleting a question asks first); any other box
    // takes its default button and is logged on stderr, since a benchmark should not meet one unnoticed.
    explicit BenchDialogs(bool sayYes = false) : m_sayYes(sayYes) {}

    QMessageBox::StandardButton message(QWidget*, const QString& title, const QString& text, QMessageBox::Icon,
                                        QMessageBox::StandardButtons buttons, QMessageBox::StandardButton def) override
    {
        if (m_sayYes && buttons.testFlag(QMessageBox::Yes))
            return QMessageBox::Yes;
        std::fprintf(stderr, "message: %s: %s\n", qPrintable(title), qPrintable(text));
        return def;
    }
    QString openFileName(QWidget*, const QString&, const QString&, const QString&) override { return {}; }
    QString saveFileName(QWidget*, const QString&, const QString&, const QString&, const QString&, bool) override
    {
        return {};
    }
    std::optional<QString> inputText(QWidget*, const QString&, const QString&, const QString&) override
    {
        return std::nullopt;
    }
    bool openUrl(const QUrl&) override { return false; }

private:
    bool m_sayYes;
};

} // namespace tovek::bench
