#pragma once
// Shared by the main-window and chooser tests: question files and driving the chooser.

#include "app/ui/tform1.h"
#include "store/questionfile.h"
#include "store/ui/tform3.h"
#include "update/ui/updatecheck.h"
#include "support/ui/uitest.h"

#include <QListWidget>
#include <QPushButton>
#include <QToolButton>

#include <memory>

namespace tovek::test {

inline Question numberedQuestion(int n, bool active = false, const std::string& correct = "A")
{
    Question q;
    q.active = active;
    q.stem = "Soru " + std::to_string(n);
    for (int i = 0; i < 5; ++i)
        q.answers[i] = std::to_string(n) + static_cast<char>('A' + i);
    q.correct = correct;
    return q;
}

// Creates dataDir/name with count questions "Soru 1".. ; every activeEvery-th question is active.
inline void writeQuestionFile(const std::string& dataDir, const std::string& name, int count, int activeEvery = 0)
{
    createQuestionFile(dataDir, name);
    std::vector<Question> questions;
    for (int n = 1; n <= count; ++n)
        questions.push_back(numberedQuestion(n, activeEvery > 0 && n % activeEvery == 0));
    Table t;
    t.setTableName(dataDir + name);
    t.open();
    if (!questions.empty())
        appendQuestions(t, questions);
}

inline std::vector<Question> storedQuestions(const std::string& path)
{
    Table t;
    t.setTableName(path);
    t.open();
    return readAllQuestions(t);
}

inline std::unique_ptr<ui::TForm1> makeForm(const TempDir& dir)
{
    fakeDialogs().clear();
    auto form = std::make_unique<ui::TForm1>(fakeDialogs(), dir.path());
    // No request leaves the test machine: the silent check at start-up finds no connection.
    form->updateCheck().setConnectivity([] { return false; });
    form->show();
    return form;
}

inline QToolButton* toolButton(QWidget* form, const char* name)
{
    return form->findChild<QToolButton*>(QString::fromLatin1(name));
}

// Chooses the listed file whose name ends with fileName (none: closes with nothing selected),
// pressing the given chooser button. Runs the whole "Dosya" command.
inline void chooseFile(ui::TForm1& form, const QString& fileName, const char* button = "DosyaSecButton")
{
    whenModal([fileName, button](QWidget* modal) {
        auto* list = modal->findChild<QListWidget*>(QStringLiteral("ListBox1"));
        if (!fileName.isEmpty()) {
            for (int i = 0; i < list->count(); ++i)
                if (list->item(i)->text().endsWith(QLatin1Char('/') + fileName))
                    list->setCurrentRow(i);
        }
        modal->findChild<QPushButton*>(QString::fromLatin1(button))->click();
    });
    toolButton(&form, "DosyaSecToolbarButton")->click();
}

} // namespace tovek::test
