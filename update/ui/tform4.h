#pragma once
// The about window: name, version and purpose of the program, with mail and web links.

#include "app/ui/dialogs.h"

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

namespace tovek::ui {

class LinkLabel;

class TForm4 : public QDialog
{
    Q_OBJECT

public:
    TForm4(Dialogs& dialogs, QWidget* parent = nullptr);

    // The request handed to the mail program.
    static QUrl mailUrl();
    static QUrl siteUrl();

public slots:
    void RxLabel2Click(); // the mail link; "e-mail :" and the address both start it
    void RxLabel3Click(); // the web link

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormCreate();

    Dialogs& m_dialogs;

    QFrame* Panel1;
    QLabel* ProgramIcon;
    QLabel* RxLabel1;
    QLabel* TovekVersionRxLabel;
    QLabel* RxLabel5;
    QLabel* RxLabel4;
    LinkLabel* RxLabel2;
    LinkLabel* RxLabel6;
    LinkLabel* RxLabel3;
    QPushButton* OKButton;
};

} // namespace tovek::ui
