#include "app/ui/zoomcommands.h"

#include "app/ui/tform6.h"
#include "store/questionfile.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextEdit>

namespace tovek::ui {

namespace {

QTextCursor cursorOf(QWidget* editor)
{
    if (auto* plain = qobject_cast<QPlainTextEdit*>(editor))
        return plain->textCursor();
    if (auto* rich = qobject_cast<QTextEdit*>(editor))
        return rich->textCursor();
    return {};
}

void setCursorOf(QWidget* editor, const QTextCursor& cursor)
{
    if (auto* plain = qobject_cast<QPlainTextEdit*>(editor))
        plain->setTextCursor(cursor);
    else if (auto* rich = qobject_cast<QTextEdit*>(editor))
        rich->setTextCursor(cursor);
}

bool isReadOnly(const QWidget* editor)
{
    if (auto* plain = qobject_cast<const QPlainTextEdit*>(editor))
        return plain->isReadOnly();
    if (auto* rich = qobject_cast<const QTextEdit*>(editor))
        return rich->isReadOnly();
    if (auto* line = qobject_cast<const QLineEdit*>(editor))
        return line->isReadOnly();
    return true;
}

QString selectedText(QWidget* editor)
{
    if (auto* line = qobject_cast<QLineEdit*>(editor))
        return line->selectedText();
    // A text cursor separates paragraphs with U+2029.
    return cursorOf(editor).selectedText().replace(QChar::ParagraphSeparator, QChar('\n'));
}

bool hasSelection(QWidget* editor)
{
    if (auto* line = qobject_cast<QLineEdit*>(editor))
        return line->hasSelectedText();
    return cursorOf(editor).hasSelection();
}

void replaceSelection(QWidget* editor, const QString& text)
{
    if (auto* line = qobject_cast<QLineEdit*>(editor)) {
        line->insert(text);
        return;
    }
    QTextCursor cursor = cursorOf(editor);
    cursor.insertText(text);
    setCursorOf(editor, cursor);
}

void startEditingOrEdit(Table& table, const StartEditing& startEditing)
{
    if (startEditing)
        startEditing();
    // Inserting into an empty file stores the new question at once; its texts are then edited.
    if (table.state() != TableState::Edit && table.state() != TableState::Insert)
        table.edit();
}

} // namespace

QString zoomTitle(int field)
{
    static const QString titles[kZoomFieldCount] = {QStringLiteral("Zoom: Soru Kökü"), QStringLiteral("Zoom: Yanıt A"),
                                                    QStringLiteral("Zoom: Yanıt B"),   QStringLiteral("Zoom: Yanıt C"),
                                                    QStringLiteral("Zoom: Yanıt D"),   QStringLiteral("Zoom: Yanıt E")};
    return field >= 0 && field < kZoomFieldCount ? titles[field] : QString();
}

const char* zoomFieldName(int field)
{
    if (field == 0)
        return fld::SORUKOKU;
    if (field >= 1 && field <= 5)
        return fld::YANIT[static_cast<std::size_t>(field - 1)];
    return nullptr;
}

QString editorText(const QWidget* editor)
{
    if (auto* plain = qobject_cast<const QPlainTextEdit*>(editor))
        return plain->toPlainText();
    if (auto* rich = qobject_cast<const QTextEdit*>(editor))
        return rich->toPlainText();
    if (auto* line = qobject_cast<const QLineEdit*>(editor))
        return line->text();
    return {};
}

void setEditorText(QWidget* editor, const QString& text)
{
    if (auto* plain = qobject_cast<QPlainTextEdit*>(editor))
        plain->setPlainText(text);
    else if (auto* rich = qobject_cast<QTextEdit*>(editor))
        rich->setPlainText(text);
    else if (auto* line = qobject_cast<QLineEdit*>(editor))
        line->setText(text);
}

bool zoomCommand(int field, Table& table, QWidget* editor, TForm6& form, Dialogs& dialogs, QWidget* parent,
                 const StartEditing& startEditing)
{
    if (!table.isOpen()) {
        dialogs.information(parent, kOpenFileFirst);
        return false;
    }
    const std::optional<QString> text = form.zoom(zoomTitle(field), field, editorText(editor));
    if (!text)
        return false;
    try {
        zoomApply(table, form.zoomedField(), editor, *text, startEditing);
    } catch (const Abort&) {
        return false; // the insertion's guard refused and has said why
    }
    return true;
}

void zoomApply(Table& table, int field, QWidget* editor, const QString& text, const StartEditing& startEditing)
{
    const char* name = zoomFieldName(field);
    if (!name)
        throw EngineError("Geçersiz alan numarası: " + std::to_string(field));
    startEditingOrEdit(table, startEditing);
    setEditorText(editor, text);
    // The editor's binding may already have taken the text; setting it here makes the pending change
    // independent of how the binding listens.
    table.setText(name, normalizeLineBreaks(text.toStdString()));
}

bool editorCommand(EditorCommand command, QWidget* focused, const QList<QWidget*>& editors,
                   const StartEditing& startEditing)
{
    if (!focused || !editors.contains(focused))
        return false;
    QClipboard* clipboard = QGuiApplication::clipboard();
    switch (command) {
    case EditorCommand::SelectAll:
        if (auto* line = qobject_cast<QLineEdit*>(focused))
            line->selectAll();
        else if (auto* plain = qobject_cast<QPlainTextEdit*>(focused))
            plain->selectAll();
        else if (auto* rich = qobject_cast<QTextEdit*>(focused))
            rich->selectAll();
        return true;
    case EditorCommand::Copy:
        if (hasSelection(focused))
            clipboard->setText(selectedText(focused));
        return true;
    case EditorCommand::Cut:
        if (!hasSelection(focused) || isReadOnly(focused))
            return true;
        clipboard->setText(selectedText(focused));
        if (startEditing)
            startEditing();
        replaceSelection(focused, QString());
        return true;
    case EditorCommand::Paste: {
        const QString text = clipboard->text();
        if (isReadOnly(focused) || (text.isEmpty() && !hasSelection(focused)))
            return true;
        if (startEditing)
            startEditing();
        replaceSelection(focused, text);
        return true;
    }
    }
    return false;
}

} // namespace tovek::ui
