// The document's line view: scrolling to the end, selecting with keys and mouse, copying, the menu.
// With TOVEK_SCREENSHOT_DIR set, the document window and a selection are also saved there as pictures.

#include "support/ui/uitest.h"

#include "exam/ui/lineview.h"
#include "exam/ui/tform2.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>
#include <QtTest>

#include <memory>

using namespace tovek;
using namespace tovek::ui;

namespace {

std::vector<std::string> turkishLines(int count)
{
    std::vector<std::string> lines;
    for (int i = 0; i < count; ++i)
        lines.push_back(std::to_string(i + 1) + ") Işık, gölge ve ağaç şöyle çizilir");
    return lines;
}

std::unique_ptr<LineView> shownView(const std::vector<std::string>* lines)
{
    auto view = std::make_unique<LineView>();
    QFont courier(QStringLiteral("Courier New"));
    courier.setStyleHint(QFont::TypeWriter);
    courier.setPixelSize(13);
    view->setFont(courier);
    view->resize(400, 300);
    view->setLines(lines);
    view->show();
    if (!QTest::qWaitForWindowExposed(view.get()))
        qWarning("the line view was not exposed");
    view->setFocus();
    return view;
}

void saveScreenshot(QWidget& window, const QString& name)
{
    const QString dir = qEnvironmentVariable("TOVEK_SCREENSHOT_DIR");
    if (!dir.isEmpty() && !window.grab().save(dir + QStringLiteral("/") + name))
        qWarning("could not save %s", qPrintable(name));
}

// The middle of a character cell, in viewport coordinates.
QPoint cellCentre(LineView& view, int line, int column)
{
    const QPoint corner = view.pointOf({line, column});
    const int half = view.fontMetrics().horizontalAdvance(QLatin1Char('M')) / 2;
    return corner + QPoint(half, view.fontMetrics().lineSpacing() / 2);
}

} // namespace

class LineViewTest : public QObject
{
    Q_OBJECT

private slots:
    void showsTheGivenLinesInPlace()
    {
        std::vector<std::string> lines = turkishLines(3);
        auto view = shownView(&lines);
        QCOMPARE(view->lineCount(), 3);
        QCOMPARE(view->lineText(1), QStringLiteral("2) Işık, gölge ve ağaç şöyle çizilir"));
        QCOMPARE(view->toPlainText().split(QLatin1Char('\n')).size(), 3);
        QVERIFY(view->toPlainText().endsWith(QStringLiteral("3) Işık, gölge ve ağaç şöyle çizilir")));

        // A new list replaces the old one and forgets its selection.
        view->selectAll();
        QVERIFY(view->hasSelection());
        view->setLines(std::vector<std::string>{"tek satır"});
        QCOMPARE(view->toPlainText(), QStringLiteral("tek satır"));
        QVERIFY(!view->hasSelection());
        view->setLines(nullptr);
        QCOMPARE(view->lineCount(), 0);
        QCOMPARE(view->toPlainText(), QString());
        view->selectAll();
        view->copy();
        QTest::keyClick(view.get(), Qt::Key_Down, Qt::ShiftModifier);
        QVERIFY(!view->hasSelection());
    }

    void scrollsToTheLastLine()
    {
        std::vector<std::string> lines = turkishLines(5000);
        auto view = shownView(&lines);
        QScrollBar* bar = view->verticalScrollBar();
        QVERIFY(bar->isVisible());
        QVERIFY(view->horizontalScrollBar()->isVisible());
        QCOMPARE(bar->value(), 0);

        QTest::keyClick(view.get(), Qt::Key_Down);
        QCOMPARE(view->firstVisibleLine(), 1);
        QTest::keyClick(view.get(), Qt::Key_PageDown);
        QCOMPARE(view->firstVisibleLine(), 1 + view->visibleLineCount());
        QTest::keyClick(view.get(), Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(bar->value(), bar->maximum());
        // The last line sits inside the view, not below it.
        QCOMPARE(view->firstVisibleLine() + view->visibleLineCount(), 5000);
        const QPoint last = view->pointOf({4999, 0});
        QVERIFY(last.y() + view->fontMetrics().lineSpacing() <= view->viewport()->height());
        QCOMPARE(view->positionAt(cellCentre(*view, 4999, 0)).line, 4999);

        QTest::keyClick(view.get(), Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(bar->value(), 0);
        QWheelEvent wheel(QPointF(50, 50), view->viewport()->mapToGlobal(QPointF(50, 50)), QPoint(), QPoint(0, -120),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(view->viewport(), &wheel);
        QVERIFY(bar->value() > 0);
    }

    void selectAllCopiesTheWholeText()
    {
        std::vector<std::string> lines = turkishLines(200);
        lines.push_back("");
        lines.push_back("K=ÇĞİÖŞÜ");
        auto view = shownView(&lines);
        QGuiApplication::clipboard()->clear();
        QTest::keyClick(view.get(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(view.get(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), view->toPlainText());
        QVERIFY(QGuiApplication::clipboard()->text().endsWith(QStringLiteral("\n\nK=ÇĞİÖŞÜ")));

        // The same from the menu of the right button.
        QGuiApplication::clipboard()->clear();
        view->clearSelection();
        std::unique_ptr<QMenu> menu(view->createContextMenu(nullptr));
        const auto actions = menu->actions();
        QCOMPARE(actions.size(), 2);
        QCOMPARE(actions[0]->text(), QStringLiteral("Kopyala"));
        QCOMPARE(actions[1]->text(), QStringLiteral("Tümünü Seç"));
        QVERIFY(!actions[0]->isEnabled());
        actions[1]->trigger();
        std::unique_ptr<QMenu> again(view->createContextMenu(nullptr));
        QVERIFY(again->actions()[0]->isEnabled());
        again->actions()[0]->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), view->toPlainText());
    }

    void dragAcrossTwoLinesCopiesThatPart()
    {
        std::vector<std::string> lines = {"A) İstanbul", "B) Ankara", "C) Çanakkale"};
        auto view = shownView(&lines);
        QWidget* port = view->viewport();
        // From the "s" of İstanbul to just after the "k" of Ankara.
        QTest::mousePress(port, Qt::LeftButton, Qt::NoModifier, cellCentre(*view, 0, 4) - QPoint(3, 0));
        QMouseEvent move(QEvent::MouseMove, cellCentre(*view, 1, 6) - QPoint(3, 0),
                         port->mapToGlobal(cellCentre(*view, 1, 6) - QPoint(3, 0)), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(port, &move);
        QTest::mouseRelease(port, Qt::LeftButton, Qt::NoModifier, cellCentre(*view, 1, 6) - QPoint(3, 0));
        QCOMPARE(view->selectedText(), QStringLiteral("stanbul\nB) Ank"));
        saveScreenshot(*view, QStringLiteral("line-view-selection.png"));
        QTest::keyClick(view.get(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("stanbul\nB) Ank"));

        // Shift stretches the same selection by keys and by a click.
        QTest::keyClick(view.get(), Qt::Key_Right, Qt::ShiftModifier);
        QTest::keyClick(view.get(), Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(view->selectedText(), QStringLiteral("stanbul\nB) Ankara\nC) Çana"));
        QTest::keyClick(view.get(), Qt::Key_End, Qt::ShiftModifier);
        QCOMPARE(view->selectedText(), QStringLiteral("stanbul\nB) Ankara\nC) Çanakkale"));
        QTest::mouseClick(port, Qt::LeftButton, Qt::ShiftModifier, cellCentre(*view, 0, 0) - QPoint(3, 0));
        QCOMPARE(view->selectedText(), QStringLiteral("A) İ"));

        // A plain click leaves nothing selected; a double click takes the word.
        QTest::mouseClick(port, Qt::LeftButton, Qt::NoModifier, cellCentre(*view, 2, 5));
        QVERIFY(!view->hasSelection());
        QTest::mouseDClick(port, Qt::LeftButton, Qt::NoModifier, cellCentre(*view, 2, 5));
        QCOMPARE(view->selectedText(), QStringLiteral("Çanakkale"));
    }

    void longLinesScrollSideways()
    {
        std::vector<std::string> lines = {"kısa", std::string(300, 'x') + "ş", "son"};
        auto view = shownView(&lines);
        QScrollBar* bar = view->horizontalScrollBar();
        const qreal wide = 301 * QFontMetricsF(view->font()).horizontalAdvance(QLatin1Char('M'));
        QVERIFY(bar->maximum() >= wide - view->viewport()->width());
        QTest::keyClick(view.get(), Qt::Key_End);
        QCOMPARE(bar->value(), bar->maximum());
        // The last character is then in sight.
        const int x = view->pointOf({1, 300}).x();
        QVERIFY(x >= 0 && x < view->viewport()->width());
        QTest::keyClick(view.get(), Qt::Key_Home);
        QCOMPARE(bar->value(), 0);

        // Short lines alone need no sideways room.
        view->setLines(std::vector<std::string>{"kısa", "satır"});
        QCOMPARE(bar->maximum(), 0);
    }

    void documentWindowShowsItsLines()
    {
        std::vector<std::string> lines;
        const std::vector<std::string> answers = {"Bursa", "İzmir", "Ankara", "İstanbul", "Konya"};
        for (int q = 1; q <= 30; ++q) {
            lines.push_back(std::to_string(q) + ") Türkiye'nin başkenti neresidir?");
            lines.push_back("");
            for (int a = 0; a < 5; ++a)
                lines.push_back(std::string(1, static_cast<char>('A' + a)) + ") " +
                                answers[static_cast<std::size_t>(a)]);
            lines.push_back("");
        }
        lines.push_back("SORU_SAYISI=30");
        TForm2 form(test::fakeDialogs(), QString());
        form.setDocument(lines,
                         QStringLiteral("1212. İterasyon Sonucunda Şıklardaki Dağılım   A-6  B-6  C-6  D-6  "
                                        "E-6  Olarak bulundu ..."),
                         QStringLiteral("1, 7, 25, 6, 19, 13, 21, 17, 12, 10, 20, 23, 18, 28, 3, 5, 24, 9, 22, 30"));
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QCOMPARE(form.Memo1->objectName(), QStringLiteral("Memo1"));
        QCOMPARE(form.Memo1->lineCount(), static_cast<int>(lines.size()));
        QCOMPARE(form.Memo1->lineText(0), QStringLiteral("1) Türkiye'nin başkenti neresidir?"));
        QCOMPARE(QApplication::focusWidget(), form.Memo1);

        // Painted: dark text on the white page.
        const QImage shot = form.Memo1->viewport()->grab().toImage();
        QCOMPARE(shot.pixelColor(shot.width() - 2, shot.height() - 2), QColor(Qt::white));
        bool ink = false;
        for (int x = 0; x < 120 && !ink; ++x)
            ink = qGray(shot.pixel(x, 10)) < 100;
        QVERIFY(ink);

        saveScreenshot(form, QStringLiteral("document-window.png"));
    }
};

TOVEK_QTEST_MAIN(LineViewTest)
#include "lineview_test.moc"
