#pragma once
// The new-version window: installed and latest version and a link to the program's web site.

#include "app/ui/dialogs.h"

#include <QDialog>

class QLabel;
class QPushButton;

namespace tovek::ui {

class LinkLabel;

class TForm8 : public QDialog
{
    Q_OBJECT

public:
    TForm8(Dialogs& dialogs, QWidget* parent = nullptr);

    // The latest version as the server wrote it; the labels take it each time the window is shown.
    void setLatestVersion(const QString& version) { m_latestVersion = version; }
    QString latestVersion() const { return m_latestVersion; }

public slots:
    void DownloadRxLabelClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    Dialogs& m_dialogs;
    QString m_latestVersion;

    QLabel* ProgramIcon;
    QLabel* RxLabel1;
    QLabel* KuruluVersionRxLabel;
    QLabel* EnSonVersionRxLabel;
    LinkLabel* DownloadRxLabel;
    LinkLabel* RxLabel5;
    QPushButton* Button1;
};

} // namespace tovek::ui
