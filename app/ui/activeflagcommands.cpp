#include "app/ui/activeflagcommands.h"

#include "app/activeflags.h"
#include "app/ui/tform5.h"

namespace tovek::ui {

namespace {

// True when the guard lets the command go on; a refusing guard has already said why.
bool guardPasses(const FilterGuard& ensureFilterOff)
{
    if (!ensureFilterOff)
        return true;
    try {
        ensureFilterOff();
    } catch (const Abort&) {
        return false;
    }
    return true;
}

} // namespace

void countActiveCommand(Table& table, Dialogs& dialogs, QWidget* parent, const FilterGuard& ensureFilterOff)
{
    if (!table.isOpen() || !guardPasses(ensureFilterOff))
        return;
    const int count = countActive(table);
    dialogs.information(parent, QString::fromStdString(activeCountMessage(count)));
}

void allActiveCommand(Table& table, bool active, Dialogs& dialogs, QWidget* parent)
{
    if (!table.isOpen())
        return;
    if (!dialogs.confirmOkCancel(parent, kAktifDurumuTitle, active ? kAllOnQuestion : kAllOffQuestion))
        return;
    setAllActive(table, active);
}

void randomActivationCommand(Table& table, TForm5& form, Random& random, Dialogs& dialogs, QWidget* parent,
                             const FilterGuard& ensureFilterOff)
{
    if (!table.isOpen())
        return;
    const int shown = table.recordCount();
    if (shown == 0) {
        // An empty filtered view is the filter's doing, not an empty file: the guard says so.
        if (table.filtered() && !guardPasses(ensureFilterOff))
            return;
        dialogs.information(parent, kNoQuestionsToActivate);
        return;
    }
    form.setQuestionCount(shown);
    form.setActivation([&](int count) {
        if (ensureFilterOff)
            ensureFilterOff();
        try {
            activateRandom(table, count, random);
        } catch (const ActivationRefused& e) {
            dialogs.information(&form, QString::fromStdString(e.what()));
            throw Abort();
        }
    });
    form.exec();
    form.setActivation(nullptr);
}

} // namespace tovek::ui
