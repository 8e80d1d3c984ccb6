// The zoom window on its own, the zoom command against a real file and the editors' clipboard commands.
#include "app/ui/tform6.h"
#include "app/ui/zoomcommands.h"
#include "store/questionfile.h"
#include "support/ui/uitest.h"

#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>

using namespace tovek;
using namespace tovek::ui;
using tovek::test::fakeDialogs;

namespace {

struct OpenFile
{
    test::TempDir dir;
    Table table;

    explicit OpenFile(int count)
    {
        const std::string path = dir.stdPath() + "z.DB";
        createTable(path, questionLayout(), questionIndex());
        table.setTableName(path);
        table.open();
        std::vector<Question> qs;
        for (int i = 1; i <= count; ++i) {
            Question q;
            q.stem = "Kök " + std::to_string(i);
            q.answers = {"A" + std::to_string(i), "B", "C" + std::to_string(i), "D", "E"};
            q.active = false;
            qs.push_back(q);
        }
        appendQuestions(table, qs);
        table.first();
    }
    std::string storedText(int number, const char* field)
    {
        Table other;
        other.setTableName(table.path());
        other.open();
        if (!other.findKey(number))
            return "<none>";
        return other.asText(field);
    }
};

// The main window's way into editing: in an empty file, question 1 is inserted and stored at once.
StartEditing mainWindowEditing(Table& table)
{
    return [&table] {
        if (table.isEmptyTable()) {
            if (table.filtered()) {
                fakeDialogs().information(nullptr, QStringLiteral("guard"));
                throw Abort();
            }
            table.insert();
            table.setInteger(fld::SORUNO, table.recordCount() + 1);
            table.post();
        }
        table.edit();
    };
}

void answerZoom(std::function<void(TForm6*)> action)
{
    test::whenModal([action](QWidget* w) {
        auto* form = qobject_cast<TForm6*>(w);
        QVERIFY(form);
        action(form);
    });
}

} // namespace

class TForm6Test : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        fakeDialogs().clear();
        QGuiApplication::clipboard()->clear();
    }

    void layout()
    {
        TForm6 form;
        QCOMPARE(form.windowTitle(), QStringLiteral("Zoom Form"));
        QCOMPARE(form.minimumSize(), QSize(480, 350));
        QCOMPARE(form.size(), QSize(480, 350));
        QVERIFY(form.maximumWidth() > 480);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.resize(800, 600);
        QTRY_COMPARE(form.ZoomMemo->width(), 800);
        QCOMPARE(form.Panel1->height(), 35);
        QCOMPARE(form.ButtonBar->height(), 35);
        QCOMPARE(form.Panel1->font().pixelSize(), 13);
        QCOMPARE(form.ZoomMemo->font().pixelSize(), 16);
        QVERIFY(form.Panel1->font().bold() && form.ZoomMemo->font().bold());
        QCOMPARE(form.ZoomMemo->font().family(), QStringLiteral("Courier New"));
        QCOMPARE(form.ZoomMemo->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(form.ZoomMemo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(form.VazgecButton->text(), QStringLiteral("Vazgeç"));
        QCOMPARE(form.DegistirButton->text(), QStringLiteral("Degistir"));
        // Both buttons at the right end, "Degistir" rightmost.
        QVERIFY(form.VazgecButton->x() > form.width() / 2);
        QVERIFY(form.DegistirButton->x() > form.VazgecButton->x());
    }

    void zoomReturnsTextOnlyOnDegistir()
    {
        TForm6 form;
        answerZoom([](TForm6* f) {
            QCOMPARE(f->Panel1->text(), QStringLiteral("Zoom: Yanıt B"));
            QCOMPARE(f->ZoomMemo->toPlainText(), QStringLiteral("bir\nki"));
            f->ZoomMemo->moveCursor(QTextCursor::End);
            QTest::keyClick(f->ZoomMemo, Qt::Key_Return);
            test::typeText(f->ZoomMemo, QStringLiteral("üç"));
            f->DegistirButton->click();
        });
        QCOMPARE(form.zoom(QStringLiteral("Zoom: Yanıt B"), 2, QStringLiteral("bir\nki")),
                 std::optional<QString>(QStringLiteral("bir\nki\nüç")));
        QCOMPARE(form.zoomedField(), 2);

        // Reused: title, field and text are replaced; "Vazgeç" and the close box give nothing back.
        answerZoom([](TForm6* f) {
            QCOMPARE(f->ZoomMemo->toPlainText(), QStringLiteral("x"));
            test::typeText(f->ZoomMemo, QStringLiteral("y"));
            f->VazgecButton->click();
        });
        QVERIFY(!form.zoom(QStringLiteral("Zoom: Soru Kökü"), 0, QStringLiteral("x")));
        QCOMPARE(form.zoomedField(), 0);
        answerZoom([](TForm6* f) { f->close(); });
        QVERIFY(!form.zoom(QStringLiteral("Zoom: Yanıt E"), 5, QStringLiteral("z")));
        answerZoom([](TForm6* f) { QTest::keyClick(f->ZoomMemo, Qt::Key_Escape); });
        QVERIFY(!form.zoom(QStringLiteral("Zoom: Yanıt E"), 5, QStringLiteral("z")));
    }

    void noFileShowsTheMessage()
    {
        Table closed;
        TForm6 form;
        QPlainTextEdit editor;
        QVERIFY(!zoomCommand(0, closed, &editor, form, fakeDialogs(), nullptr, {}));
        QCOMPARE(fakeDialogs().lastMessage(), QStringLiteral("Önce Soru Dosyası Açınız..."));
        QVERIFY(!form.isVisible());
    }

    void degistirWritesIntoTheCurrentRecord()
    {
        OpenFile f(3);
        f.table.moveTo(1);
        QPlainTextEdit editor;
        editor.setPlainText(QString::fromStdString(f.table.asText(fld::YANITC)));
        TForm6 form;
        answerZoom([](TForm6* z) {
            QCOMPARE(z->Panel1->text(), QStringLiteral("Zoom: Yanıt C"));
            QCOMPARE(z->ZoomMemo->toPlainText(), QStringLiteral("C2"));
            z->ZoomMemo->setPlainText(QStringLiteral("yeni\nçok satırlı\nyanıt"));
            z->DegistirButton->click();
        });
        QVERIFY(zoomCommand(3, f.table, &editor, form, fakeDialogs(), nullptr, mainWindowEditing(f.table)));
        QCOMPARE(editor.toPlainText(), QStringLiteral("yeni\nçok satırlı\nyanıt"));
        QCOMPARE(f.table.state(), TableState::Edit);
        QCOMPARE(f.storedText(2, fld::YANITC), std::string("C2"));
        f.table.next();
        QCOMPARE(f.storedText(2, fld::YANITC), std::string("yeni\r\nçok satırlı\r\nyanıt"));
        QCOMPARE(f.storedText(3, fld::YANITC), std::string("C3"));

        // The stored line breaks come back as the editor's own.
        f.table.moveTo(1);
        editor.setPlainText(QString::fromStdString(f.table.asText(fld::YANITC)).replace("\r\n", "\n"));
        answerZoom([](TForm6* z) {
            QCOMPARE(z->ZoomMemo->blockCount(), 3);
            z->VazgecButton->click();
        });
        QVERIFY(!zoomCommand(3, f.table, &editor, form, fakeDialogs(), nullptr, mainWindowEditing(f.table)));
        QCOMPARE(f.table.state(), TableState::Browse);
    }

    void degistirWithoutChangeStillStartsEditing()
    {
        OpenFile f(2);
        QPlainTextEdit editor;
        editor.setPlainText(QStringLiteral("Kök 1"));
        TForm6 form;
        answerZoom([](TForm6* z) { z->DegistirButton->click(); });
        QVERIFY(zoomCommand(0, f.table, &editor, form, fakeDialogs(), nullptr, mainWindowEditing(f.table)));
        QCOMPARE(f.table.state(), TableState::Edit);
        f.table.cancel();
        QCOMPARE(f.storedText(1, fld::SORUKOKU), std::string("Kök 1"));
    }

    void degistirInAnEmptyFileInsertsQuestionOne()
    {
        OpenFile f(0);
        QPlainTextEdit editor;
        TForm6 form;
        answerZoom([](TForm6* z) {
            z->ZoomMemo->setPlainText(QStringLiteral("ilk soru"));
            z->DegistirButton->click();
        });
        QVERIFY(zoomCommand(0, f.table, &editor, form, fakeDialogs(), nullptr, mainWindowEditing(f.table)));
        f.table.post();
        QCOMPARE(f.table.recordCount(), 1);
        QCOMPARE(f.storedText(1, fld::SORUKOKU), std::string("ilk soru"));

        // Under the filter the guard refuses the insertion and nothing changes.
        OpenFile g(0);
        g.table.setFiltered(true);
        answerZoom([](TForm6* z) { z->DegistirButton->click(); });
        QVERIFY(!zoomCommand(1, g.table, &editor, form, fakeDialogs(), nullptr, mainWindowEditing(g.table)));
        QCOMPARE(fakeDialogs().lastMessage(), QStringLiteral("guard"));
        QCOMPARE(g.table.state(), TableState::Browse);
        QCOMPARE(g.table.recordCount(), 0);
    }

    void clipboardCommandsActOnTheFocusedEditorOnly()
    {
        QWidget window;
        auto* stem = new QPlainTextEdit(QStringLiteral("birinci\nikinci"), &window);
        auto* answer = new QPlainTextEdit(QStringLiteral("yanıt"), &window);
        auto* other = new QLineEdit(QStringLiteral("başka"), &window);
        const QList<QWidget*> editors = {stem, answer};
        int editingStarted = 0;
        const StartEditing startEditing = [&] { ++editingStarted; };
        QClipboard* clipboard = QGuiApplication::clipboard();

        QVERIFY(!editorCommand(EditorCommand::SelectAll, other, editors, startEditing));
        QVERIFY(!editorCommand(EditorCommand::Paste, nullptr, editors, startEditing));
        QVERIFY(!other->hasSelectedText());

        QVERIFY(editorCommand(EditorCommand::SelectAll, stem, editors, startEditing));
        QVERIFY(editorCommand(EditorCommand::Copy, stem, editors, startEditing));
        QCOMPARE(clipboard->text(), QStringLiteral("birinci\nikinci"));
        QCOMPARE(editingStarted, 0);

        QVERIFY(editorCommand(EditorCommand::SelectAll, answer, editors, startEditing));
        QVERIFY(editorCommand(EditorCommand::Paste, answer, editors, startEditing));
        QCOMPARE(answer->toPlainText(), QStringLiteral("birinci\nikinci"));
        QCOMPARE(editingStarted, 1);

        QTextCursor cursor = stem->textCursor();
        cursor.setPosition(0);
        cursor.setPosition(7, QTextCursor::KeepAnchor);
        stem->setTextCursor(cursor);
        QVERIFY(editorCommand(EditorCommand::Cut, stem, editors, startEditing));
        QCOMPARE(clipboard->text(), QStringLiteral("birinci"));
        QCOMPARE(stem->toPlainText(), QStringLiteral("\nikinci"));
        QCOMPARE(editingStarted, 2);

        // Nothing selected: cut changes nothing and leaves the record alone.
        QVERIFY(editorCommand(EditorCommand::Cut, stem, editors, startEditing));
        QCOMPARE(editingStarted, 2);
        QCOMPARE(clipboard->text(), QStringLiteral("birinci"));

        // Rich clipboard contents arrive as plain text.
        auto* mime = new QMimeData;
        mime->setHtml(QStringLiteral("<b>kalın</b>"));
        mime->setText(QStringLiteral("kalın"));
        clipboard->setMimeData(mime);
        answer->clear();
        QVERIFY(editorCommand(EditorCommand::Paste, answer, editors, startEditing));
        QCOMPARE(answer->toPlainText(), QStringLiteral("kalın"));
    }
};

TOVEK_QTEST_MAIN(TForm6Test)
#include "tform6_test.moc"
