#pragma once
// The zoom editor: one of the main window's text editors in a large, resizable window.

#include <QDialog>
#include <QString>

#include <optional>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QWidget;

namespace tovek::ui {

class TForm6 : public QDialog
{
    Q_OBJECT
public:
    explicit TForm6(QWidget* parent = nullptr);

    // Shows title in Panel1 and text in ZoomMemo and runs the window modally. Returns the edited
    // text when the user applies it with "Degistir"; nullopt for "Vazgeç" or the close box.
    std::optional<QString> zoom(const QString& title, int field, const QString& text);

    // The field being zoomed: 0 the stem, 1 .. 5 the options A .. E.
    int zoomedField() const { return m_field; }

    void VazgecButtonClick();
    void DegistirButtonClick();

    QLabel* Panel1 = nullptr;
    QPlainTextEdit* ZoomMemo = nullptr;
    QWidget* ButtonBar = nullptr;
    QPushButton* VazgecButton = nullptr;
    QPushButton* DegistirButton = nullptr;

private:
    int m_field = 0;
};

} // namespace tovek::ui
